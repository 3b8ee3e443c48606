#include "TCodePageText.h"

// Windows' code pages: 932 is Shift-JIS exactly as the program means it. EUC-JP has no code
// page with CP932's mappings (20932's JIS X 0208 table maps six symbols and the NEC-selected
// IBM rows otherwise), so a JIS X 0208 character goes to 932 as its Shift-JIS pair, found by
// row and cell; only JIS X 0212, which 932 lacks, goes to 20932, in the form 20932 takes
// (the two bytes after 0x8F, the second with its high bit cleared).
//
// MB_ERR_INVALID_CHARS makes a refused sequence an error instead of a silent guess, so that
// the result says U+FFFD where the input was bad; a text is converted in blocks, and only a
// block with a bad sequence is gone through again character by character.

#include <windows.h>

#include <cstdint>
#include <map>

namespace {
constexpr UINT kCp932 = 932;
constexpr UINT kCp20932 = 20932;
constexpr char16_t kNoChar = 0xFFFD;
constexpr size_t kBlock = 4096;

bool IsSjisLead(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsSjisTrail(uint8_t b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }
bool IsJisByte(uint8_t b) { return b >= 0xA1 && b <= 0xFE; }

// The bytes of the Shift-JIS unit at `at`: a lead with a byte that may follow it, else one byte.
size_t SjisUnit(const uint8_t *b, size_t n, size_t at)
{
    return IsSjisLead(b[at]) && at + 1 < n && IsSjisTrail(b[at + 1]) ? 2 : 1;
}

// Appends the conversion of `count` bytes; false, appending nothing, when the code page
// refuses any of them.
bool Append(UINT codePage, const uint8_t *bytes, size_t count, std::u16string &out)
{
    if (count == 0)
        return true;
    const char *src = reinterpret_cast<const char *>(bytes);
    const int n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, src, int(count), nullptr, 0);
    if (n <= 0)
        return false;
    const size_t at = out.size();
    out.resize(at + size_t(n));
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, src, int(count), reinterpret_cast<wchar_t *>(&out[at]), n);
    return true;
}

std::u16string DecodeSjis(const uint8_t *b, size_t n)
{
    std::u16string out;
    out.reserve(n);
    for (size_t i = 0; i < n;) {
        size_t end = i;
        while (end < n && end - i < kBlock)
            end += SjisUnit(b, n, end);
        if (!Append(kCp932, b + i, end - i, out))
            for (size_t k = i; k < end;) {
                const size_t len = SjisUnit(b, n, k);
                if (!Append(kCp932, b + k, len, out))
                    out += kNoChar;
                k += len;
            }
        i = end;
    }
    return out;
}

// A JIS X 0208 character (row and cell 0..93) as its Shift-JIS pair.
void JisToSjis(int row, int cell, uint8_t pair[2])
{
    pair[0] = uint8_t(row < 62 ? 0x81 + row / 2 : 0xE0 + (row - 62) / 2);
    pair[1] = uint8_t(row % 2 == 0 ? (cell < 63 ? 0x40 + cell : 0x41 + cell) : 0x9F + cell);
}

std::u16string DecodeEuc(const uint8_t *b, size_t n)
{
    std::u16string out;
    out.reserve(n);
    for (size_t i = 0; i < n;) {
        const uint8_t c = b[i];
        const size_t left = n - i;
        if (c < 0x80) {
            out += char16_t(c);
            i += 1;
        } else if (c == 0x8E && left >= 2 && b[i + 1] >= 0xA1 && b[i + 1] <= 0xDF) {
            out += char16_t(0xFF61 + (b[i + 1] - 0xA1));
            i += 2;
        } else if (c == 0x8F && left >= 3 && IsJisByte(b[i + 1]) && IsJisByte(b[i + 2])) {
            const uint8_t pair[2] = {b[i + 1], uint8_t(b[i + 2] & 0x7F)};
            if (!Append(kCp20932, pair, 2, out))
                out += kNoChar;
            i += 3;
        } else if (IsJisByte(c) && left >= 2 && IsJisByte(b[i + 1])) {
            uint8_t pair[2];
            JisToSjis(c - 0xA1, b[i + 1] - 0xA1, pair);
            if (!Append(kCp932, pair, 2, out))
                out += kNoChar;
            i += 2;
        } else {
            out += kNoChar;
            i += 1;
        }
    }
    return out;
}

// The text with every character outside the Basic Multilingual Plane, and every lone
// surrogate, as one U+FFFD: neither code page has any of them, and Windows would otherwise
// give one substitute per surrogate.
std::wstring OneUnitPerCharacter(const char16_t *text, size_t length)
{
    std::wstring wide;
    wide.reserve(length);
    for (size_t i = 0; i < length; ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            wide += wchar_t(kNoChar);
            ++i;
        } else {
            wide += wchar_t(c >= 0xD800 && c <= 0xDFFF ? kNoChar : c);
        }
    }
    return wide;
}

// The bytes of `wide` in the code page, '?' for what it lacks (no best-fit look-alikes);
// `missed` says whether any character was missing.
std::string ToCodePage(UINT codePage, const wchar_t *wide, size_t length, BOOL *missed)
{
    *missed = FALSE;
    if (length == 0)
        return {};
    const int n = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide, int(length), nullptr, 0, "?", missed);
    if (n <= 0)
        return std::string(length, '?');
    std::string out(size_t(n), '\0');
    WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide, int(length), &out[0], n, "?", missed);
    return out;
}

// Windows writes the characters of the NEC-selected IBM rows (JIS rows 89..92, EUC-JP
// 0xF9..0xFC) in CP932's IBM rows (0xFA..0xFC), which have no row and cell in JIS: they are
// found back in a map of those four rows, decoded once.
std::string NecSelectedOf(wchar_t c)
{
    static const std::map<wchar_t, std::string> rows = [] {
        std::map<wchar_t, std::string> m;
        for (int lead = 0xF9; lead <= 0xFC; ++lead)
            for (int trail = 0xA1; trail <= 0xFE; ++trail) {
                const uint8_t pair[2] = {uint8_t(lead), uint8_t(trail)};
                const std::u16string one = DecodeEuc(pair, 2);
                if (one.size() == 1 && one[0] != kNoChar)
                    m.emplace(wchar_t(one[0]), std::string(reinterpret_cast<const char *>(pair), 2));
            }
        return m;
    }();
    const auto it = rows.find(c);
    return it == rows.end() ? std::string() : it->second;
}

// One character in EUC-JP: ASCII and half-width katakana directly, JIS X 0208 through its
// Shift-JIS pair (the NEC-selected IBM rows through NecSelectedOf), JIS X 0212 through 20932.
std::string EucOf(wchar_t c)
{
    if (c < 0x80)
        return std::string(1, char(c));
    if (c >= 0xFF61 && c <= 0xFF9F)
        return {char(0x8E), char(0xA1 + (c - 0xFF61))};
    BOOL missed = FALSE;
    const std::string sjis = ToCodePage(kCp932, &c, 1, &missed);
    if (!missed && sjis.size() == 2) {
        const uint8_t lead = uint8_t(sjis[0]), trail = uint8_t(sjis[1]);
        if (lead <= 0xEF) { // rows 1..94; beyond lie the user-defined and IBM rows
            int row = (lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 31) * 2;
            int cell = trail < 0x80 ? trail - 0x40 : trail - 0x41;
            if (trail >= 0x9F) {
                row += 1;
                cell = trail - 0x9F;
            }
            return {char(0xA1 + row), char(0xA1 + cell)};
        }
        const std::string nec = NecSelectedOf(c);
        if (!nec.empty())
            return nec;
    }
    const std::string jis = ToCodePage(kCp20932, &c, 1, &missed);
    if (!missed && jis.size() == 2 && uint8_t(jis[1]) < 0x80)
        return {char(0x8F), jis[0], char(uint8_t(jis[1]) | 0x80)};
    if (!missed && jis.size() == 2)
        return jis;
    return "?";
}
} // namespace

std::u16string TCodePageText::Decode(TCode code, const char *bytes, size_t count)
{
    const uint8_t *b = reinterpret_cast<const uint8_t *>(bytes);
    return code == TCode::ShiftJis ? DecodeSjis(b, count) : DecodeEuc(b, count);
}

std::string TCodePageText::Encode(TCode code, const char16_t *text, size_t length)
{
    const std::wstring wide = OneUnitPerCharacter(text, length);
    if (code == TCode::ShiftJis) {
        BOOL missed = FALSE;
        return ToCodePage(kCp932, wide.data(), wide.size(), &missed);
    }
    std::string out;
    out.reserve(wide.size() * 2);
    for (wchar_t c : wide)
        out += EucOf(c);
    return out;
}
