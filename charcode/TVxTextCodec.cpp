#include "TVxTextCodec.h"

#include "TCodePageText.h"
#include "TVxCharDecoder.h"
#include "TVxCharDecoderFactory.h"
#include "TVxCharTable.h"
#include "TVxError.h"
#include "TVxJisEncoder.h"
#include "TVxTableDecoder.h"
#include "TVxUtf8Decoder.h"

#include <algorithm>
#include <vector>

namespace {
bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The index of the first lone surrogate, or npos.
size_t LoneSurrogate(const std::u16string &text)
{
    for (size_t i = 0; i < text.size(); ++i) {
        if (IsHigh(text[i]) && i + 1 < text.size() && IsLow(text[i + 1]))
            ++i;
        else if (IsHigh(text[i]) || IsLow(text[i]))
            return i;
    }
    return std::u16string::npos;
}

void AppendUtf16(std::u16string &out, char32_t c)
{
    if (c >= 0x10000) {
        c -= 0x10000;
        out += char16_t(0xD800 + (c >> 10));
        out += char16_t(0xDC00 + (c & 0x3FF));
    } else {
        out += char16_t(c);
    }
}

// Through the system's converter, which never refuses: what does not come back as it went
// in was substituted, and the first character that does not is the one to name.
bool EncodeByConverter(TCodePageText::TCode code, const std::u16string &text, std::string &bytes, size_t &bad)
{
    bad = LoneSurrogate(text);
    if (bad != std::u16string::npos)
        return false;
    bytes = TCodePageText::Encode(code, text);
    if (TCodePageText::Decode(code, bytes) == text)
        return true;
    for (size_t i = 0; i < text.size(); ++i) {
        const size_t n = IsHigh(text[i]) ? 2 : 1;
        const std::u16string one = text.substr(i, n);
        if (TCodePageText::Decode(code, TCodePageText::Encode(code, one)) != one) {
            bad = i;
            return false;
        }
        i += n - 1;
    }
    bad = 0; // the whole does not come back though each character does: name the first
    return false;
}

bool EncodeUtf8(const std::u16string &text, std::string &bytes, size_t &bad)
{
    bad = LoneSurrogate(text);
    if (bad != std::u16string::npos)
        return false;
    bytes.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (IsHigh(text[i]))
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        if (c < 0x80) {
            bytes += char(c);
        } else if (c < 0x800) {
            bytes += char(0xC0 | c >> 6);
            bytes += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            bytes += char(0xE0 | c >> 12);
            bytes += char(0x80 | (c >> 6 & 0x3F));
            bytes += char(0x80 | (c & 0x3F));
        } else {
            bytes += char(0xF0 | c >> 18);
            bytes += char(0x80 | (c >> 12 & 0x3F));
            bytes += char(0x80 | (c >> 6 & 0x3F));
            bytes += char(0x80 | (c & 0x3F));
        }
    }
    return true;
}

bool EncodeUtf16(const std::u16string &text, std::string &bytes, size_t &bad)
{
    bad = LoneSurrogate(text);
    if (bad != std::u16string::npos)
        return false;
    bytes.clear();
    for (char16_t u : text) {
        bytes += char(u & 0xFF);
        bytes += char(u >> 8);
    }
    return true;
}

size_t JisEscapeLength(const uint8_t *b, size_t n)
{
    if (b[0] == 0x0E || b[0] == 0x0F)
        return 1;
    if (n >= 3 && b[0] == 0x1B && ((b[1] == '$' && (b[2] == '@' || b[2] == 'B')) ||
                                   (b[1] == '(' && (b[2] == 'B' || b[2] == 'J' || b[2] == 'I'))))
        return 3;
    return 0;
}

// The built-in decoders live as long as the program; the codec shares them without owning.
std::shared_ptr<const TVxCharDecoder> Unowned(const TVxCharDecoder &d)
{
    return std::shared_ptr<const TVxCharDecoder>(std::shared_ptr<const TVxCharDecoder>(), &d);
}
} // namespace

TVxTextCodec::TVxTextCodec(TVxCharCode code)
    : FCode(code == ccTable ? ccASCII : code), FDecoder(Unowned(TVxCharDecoderFactory::For(FCode)))
{
}

TVxTextCodec::TVxTextCodec(std::shared_ptr<const TVxCharTable> table)
    : FCode(ccTable), FTable(std::move(table)), FDecoder(std::make_shared<TVxTableDecoder>(FTable))
{
}

bool TVxTextCodec::Encode(const std::u16string &text, std::string &bytes, size_t &bad) const
{
    bad = std::u16string::npos;
    switch (FCode) {
    case ccASCII:
    case ccSJIS: return EncodeByConverter(TCodePageText::TCode::ShiftJis, text, bytes, bad);
    case ccEUC: return EncodeByConverter(TCodePageText::TCode::EucJp, text, bytes, bad);
    case ccUNICODE: return EncodeUtf16(text, bytes, bad);
    case ccUTF8: return EncodeUtf8(text, bytes, bad);
    case ccJIS: return TVxJisEncoder::Encode(text, bytes, bad);
    case ccTable: return FTable->Encode(text, bytes, bad) && ReadsBack(text, bytes, bad);
    }
    return false;
}

bool TVxTextCodec::ReadsBack(const std::u16string &text, const std::string &bytes, size_t &bad) const
{
    // A table may hold entries whose bytes run together into another entry ("80" and "41"
    // next to "8041"): such a text would be read back as something else, so it has no bytes.
    const std::u16string back = Decode(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size(), false);
    if (back == text)
        return true;
    bad = 0;
    while (bad < text.size() && bad < back.size() && text[bad] == back[bad])
        ++bad;
    bad = std::min(bad, text.empty() ? 0 : text.size() - 1);
    return false;
}

std::u16string TVxTextCodec::Decode(const uint8_t *bytes, size_t count, bool keepLineBreaks) const
{
    return Decode(bytes, count, 0, 0, count, keepLineBreaks);
}

std::u16string TVxTextCodec::Decode(const uint8_t *bytes, size_t count, int32_t base, size_t first, size_t end,
                                    bool keepLineBreaks) const
{
    end = std::min(end, count);
    first = std::min(first, end);
    if (IsByteCode()) {
        const std::string shown = TVxTextFilter::FilterText(bytes + first, end - first, FCode, keepLineBreaks);
        return TCodePageText::Decode(TCodePageText::TCode::ShiftJis, shown);
    }
    std::vector<TVxDecodedChar> units(count);
    FDecoder->Decode(bytes, int(count), base, int(first), units.data());
    std::u16string out;
    out.reserve(end - first);
    for (size_t i = first; i < end; ++i) {
        const TVxDecodedChar &u = units[i];
        if (u.Span == 0)
            continue;
        // JIS's escapes and shifts switch modes; the text has no character for them.
        if (FCode == ccJIS) {
            const size_t esc = JisEscapeLength(bytes + i, count - i);
            if (esc > 0) {
                i += esc - 1;
                continue;
            }
        }
        const std::u16string *entry = nullptr;
        if (FTable && u.Code != TVxCharDecoder::kInvalid && FTable->Match(bytes + i, int(count - i), &entry) > 0 &&
            entry) {
            out += *entry; // the whole text of the entry, where the column has room for its first character
            continue;
        }
        if (keepLineBreaks && (u.Code == '\n' || u.Code == '\r'))
            AppendUtf16(out, u.Code);
        else
            AppendUtf16(out, TVxCharDecoder::Displayed(u.Code));
    }
    return out;
}

bool TVxTextCodec::EncodeAt(const std::u16string &text, const uint8_t *before, size_t count, std::string &bytes,
                            size_t &bad) const
{
    if (!Encode(text, bytes, bad))
        return false;
    if (FCode != ccJIS || bytes.empty())
        return true;
    // The mode in force: the last escape sequence before the place (ASCII without one).
    std::string mode;
    for (size_t i = count; i-- > 0;) {
        const size_t n = before[i] == 0x1B ? JisEscapeLength(before + i, count - i) : 0;
        if (n == 3) {
            mode.assign(reinterpret_cast<const char *>(before + i), 3);
            break;
        }
    }
    if (mode.empty() || mode == "\x1B(B" || mode == "\x1B(J")
        return true; // the text starts from ASCII and returns to it, as Encode writes it
    if (bytes[0] != '\x1B')
        bytes.insert(0, "\x1B(B");
    bytes += mode;
    return true;
}

std::string TVxTextCodec::EncodeAtOrThrow(const std::u16string &text, const uint8_t *before, size_t count) const
{
    std::string bytes;
    size_t bad = 0;
    if (EncodeAt(text, before, count, bytes, bad))
        return bytes;
    return EncodeOrThrow(text); // throws, naming the character
}

std::string TVxTextCodec::EncodeOrThrow(const std::u16string &text) const
{
    std::string bytes;
    size_t bad = 0;
    if (Encode(text, bytes, bad))
        return bytes;
    const size_t n = bad + 1 < text.size() && IsHigh(text[bad]) && IsLow(text[bad + 1]) ? 2 : 1;
    throw TVxError(TVxErrorKind::TextNotEncodable, std::string(), Name(), ToUtf8(text.substr(std::min(bad, text.size()), n)));
}

std::string TVxTextCodec::Name() const
{
    switch (FCode) {
    case ccASCII: return "ASCII";
    case ccSJIS: return "Shift_JIS";
    case ccJIS: return "ISO-2022-JP";
    case ccEUC: return "EUC-JP";
    case ccUNICODE: return "UTF-16LE";
    case ccUTF8: return "UTF-8";
    case ccTable: return "table";
    }
    return std::string();
}

std::u16string TVxTextCodec::FromUtf8(const std::string &text)
{
    std::u16string out;
    out.reserve(text.size());
    const auto *p = reinterpret_cast<const uint8_t *>(text.data());
    for (size_t i = 0; i < text.size();) {
        char32_t c = 0;
        const int n = TVxUtf8Decoder::Sequence(p + i, int(std::min<size_t>(text.size() - i, 4)), c);
        if (n == 0) {
            out += char16_t(0xFFFD);
            ++i;
            continue;
        }
        AppendUtf16(out, c);
        i += size_t(n);
    }
    return out;
}

std::string TVxTextCodec::ToUtf8(const std::u16string &text)
{
    std::u16string clean(text);
    for (size_t i = LoneSurrogate(clean); i != std::u16string::npos; i = LoneSurrogate(clean))
        clean[i] = 0xFFFD;
    std::string out;
    size_t bad = 0;
    EncodeUtf8(clean, out, bad);
    return out;
}
