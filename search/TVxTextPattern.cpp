#include "TVxTextPattern.h"

#include "TVxCharDecoder.h"
#include "TVxCharTable.h"
#include "TVxDocument.h"
#include "TVxTextCodec.h"

#include <algorithm>
#include <vector>

namespace {
constexpr int32_t kShortLookback = 64;

char32_t FoldLatin(char32_t c) { return c >= 'A' && c <= 'Z' ? c + 0x20 : c; }

// The length of the escape sequence at the start of ISO-2022-JP bytes, 0 when none.
size_t LeadingEscape(const std::string &b)
{
    if (b.size() >= 3 && b[0] == '\x1B' && (b[1] == '$' || b[1] == '('))
        return 3;
    return 0;
}

std::shared_ptr<const std::array<uint8_t, 256>> TableFold(const TVxCharTable &table)
{
    auto map = std::make_shared<std::array<uint8_t, 256>>();
    for (int b = 0; b < 256; ++b) {
        (*map)[size_t(b)] = uint8_t(b);
        const uint8_t one = uint8_t(b);
        const std::u16string *text = nullptr;
        if (table.Match(&one, 1, &text) != 1 || !text || text->size() != 1 || (*text)[0] < u'A' || (*text)[0] > u'Z')
            continue;
        std::string small;
        size_t bad = 0;
        if (table.Encode(std::u16string(1, char16_t((*text)[0] + 0x20)), small, bad) && small.size() == 1)
            (*map)[size_t(b)] = uint8_t(small[0]);
    }
    return map;
}

// Whether the units of two decodings agree: same spans, same folded code points.
bool SameUnits(const TVxDecodedChar *a, const TVxDecodedChar *b, size_t n, bool ignoreCase)
{
    for (size_t i = 0; i < n; ++i) {
        if (a[i].Span != b[i].Span)
            return false;
        if (a[i].Span == 0)
            continue;
        const char32_t x = ignoreCase ? FoldLatin(a[i].Code) : a[i].Code;
        const char32_t y = ignoreCase ? FoldLatin(b[i].Code) : b[i].Code;
        if (x != y)
            return false;
    }
    return true;
}
} // namespace

TVxSearchPattern TVxTextPattern::Make(const TVxTextCodec &codec, const std::u16string &text, bool ignoreCase,
                                      const TVxDocument &doc)
{
    const std::string encoded = codec.EncodeOrThrow(text);
    if (codec.IsByteCode())
        return TVxSearchPattern(encoded);

    size_t prefix = 0, suffix = 0;
    if (codec.Code() == ccJIS) {
        prefix = LeadingEscape(encoded);
        const std::string close("\x1B(B");
        if (prefix > 0 && encoded.size() >= prefix + close.size() &&
            encoded.compare(encoded.size() - close.size(), close.size(), close) == 0)
            suffix = close.size();
    }
    TVxSearchPattern pattern(encoded.substr(prefix, encoded.size() - prefix - suffix));
    pattern.Fold = TVxSearchPattern::TFold::Map;
    if (codec.Table())
        pattern.FoldMap = TableFold(*codec.Table());

    // The pattern's own characters, decoded from its opening escape on.
    const size_t n = pattern.Bytes.size();
    std::vector<TVxDecodedChar> own(encoded.size());
    const auto *enc = reinterpret_cast<const uint8_t *>(encoded.data());
    codec.Decoder().Decode(enc, int(encoded.size()), 0, 0, own.data());
    own.erase(own.begin(), own.begin() + std::ptrdiff_t(prefix));
    own.resize(n);

    const TVxTextCodec decoderOwner = codec; // keeps a table's decoder alive with the pattern
    // Buffers shared by the calls of one search, so a replace-all of many occurrences does
    // not allocate for each.
    auto bytes = std::make_shared<std::vector<uint8_t>>();
    auto units = std::make_shared<std::vector<TVxDecodedChar>>();
    pattern.Accept = [decoderOwner, own, n, ignoreCase, &doc, bytes, units](int32_t p) {
        const TVxCharDecoder &decoder = decoderOwner.Decoder();
        const int32_t size = doc.FileSize();
        const int32_t end = int32_t(std::min<int64_t>(size, int64_t(p) + int64_t(n) + TVxCharDecoder::kMaxAfter));
        // A short look-back first: most text holds a place where a character surely begins
        // within it; the decoder's whole look-back only when it does not.
        int32_t base = std::max(0, p - std::min(kShortLookback, decoder.Lookback()));
        int32_t got = 0;
        for (;;) {
            bytes->resize(size_t(end - base));
            got = doc.ReadInto(base, bytes->data(), end - base);
            if (base == 0 || p - base >= decoder.Lookback() || decoder.SyncsWithin(bytes->data(), base, p - base))
                break;
            base = std::max(0, p - decoder.Lookback());
        }
        units->resize(size_t(got));
        decoder.Decode(bytes->data(), got, base, p - base, units->data());
        const size_t at = size_t(p - base);
        if (at + n > size_t(got))
            return false;
        const bool endsOnBoundary = at + n == size_t(got) || (*units)[at + n].Span != 0;
        return endsOnBoundary && SameUnits(units->data() + at, own.data(), n, ignoreCase);
    };
    return pattern;
}
