#include "TVxCodeDetect.h"

namespace {
// Scores in halves, so that Shift-JIS's half-width katakana can weigh 1/2.
constexpr long kPair = 4;
constexpr long kKana = 1;
constexpr long kError = 12;

bool IsBinary(const uint8_t *b, size_t n)
{
    size_t controls = 0;
    for (size_t i = 0; i < n; ++i) {
        const uint8_t c = b[i];
        if (c == 0)
            return true;
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\f' && c != '\r' && c != 0x1B)
            ++controls;
    }
    return controls * 64 > n;
}

// Whether b[0..n) is valid UTF-8 with at least one multi-byte character; a sequence cut
// off by the end of the bytes is accepted as far as it goes.
bool IsMultiByteUtf8(const uint8_t *b, size_t n)
{
    bool multi = false;
    for (size_t i = 0; i < n;) {
        const uint8_t c = b[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        size_t len;
        uint8_t lo = 0x80, hi = 0xBF; // the range of the second byte
        if (c >= 0xC2 && c <= 0xDF)
            len = 2;
        else if (c >= 0xE0 && c <= 0xEF) {
            len = 3;
            if (c == 0xE0)
                lo = 0xA0; // overlong below
            else if (c == 0xED)
                hi = 0x9F; // surrogates above
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
            if (c == 0xF0)
                lo = 0x90;
            else if (c == 0xF4)
                hi = 0x8F; // beyond U+10FFFF above
        } else
            return false;
        for (size_t k = 1; k < len; ++k) {
            if (i + k >= n)
                return multi || k > 1; // cut off by the end: a lead alone proves nothing
            const uint8_t t = b[i + k];
            if (k == 1 ? (t < lo || t > hi) : (t < 0x80 || t > 0xBF))
                return false;
        }
        multi = true;
        i += len;
    }
    return multi;
}

bool HasHighByte(const uint8_t *b, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        if (b[i] >= 0x80)
            return true;
    return false;
}

bool HasKanjiEscape(const uint8_t *b, size_t n)
{
    for (size_t i = 0; i + 2 < n; ++i)
        if (b[i] == 0x1B && b[i + 1] == '$' && (b[i + 2] == 'B' || b[i + 2] == '@'))
            return true;
    return false;
}

bool InRange(uint8_t c, uint8_t lo, uint8_t hi) { return c >= lo && c <= hi; }

// EUC-JP: JIS X 0208 pairs A1..FE A1..FE, half-width katakana 8E A1..DF, JIS X 0212
// 8F A1..FE A1..FE.
long EucJpScore(const uint8_t *b, size_t n)
{
    long score = 0;
    for (size_t i = 0; i < n;) {
        const uint8_t c = b[i];
        size_t len = 0;
        if (c < 0x80)
            len = 1;
        else if (InRange(c, 0xA1, 0xFE))
            len = 2;
        else if (c == 0x8E)
            len = 2;
        else if (c == 0x8F)
            len = 3;
        if (len == 1) {
            ++i;
            continue;
        }
        if (len == 0) {
            score -= kError;
            ++i;
            continue;
        }
        if (i + len > n)
            break; // cut off by the end of the window
        bool ok = true;
        for (size_t k = 1; k < len; ++k)
            ok = ok && InRange(b[i + k], 0xA1, c == 0x8E ? 0xDF : 0xFE);
        if (!ok) {
            score -= kError;
            ++i;
            continue;
        }
        score += kPair;
        i += len;
    }
    return score;
}

// Shift-JIS (CP932): leads 81..9F and E0..FC with trails 40..7E and 80..FC, half-width
// katakana A1..DF as single bytes.
long ShiftJisScore(const uint8_t *b, size_t n)
{
    long score = 0;
    for (size_t i = 0; i < n;) {
        const uint8_t c = b[i];
        if (c < 0x80) {
            ++i;
        } else if (InRange(c, 0xA1, 0xDF)) {
            score += kKana;
            ++i;
        } else if (InRange(c, 0x81, 0x9F) || InRange(c, 0xE0, 0xFC)) {
            if (i + 1 >= n)
                break; // cut off by the end of the window
            const uint8_t t = b[i + 1];
            if (InRange(t, 0x40, 0x7E) || InRange(t, 0x80, 0xFC)) {
                score += kPair;
                i += 2;
            } else {
                score -= kError;
                ++i;
            }
        } else {
            score -= kError; // 80, A0, FD..FF
            ++i;
        }
    }
    return score;
}
} // namespace

std::optional<TVxCharCode> TVxCodeDetect::Detect(const uint8_t *bytes, size_t count)
{
    const size_t n = count < kWindow ? count : kWindow;
    if (n >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        return ccUTF8;
    if (n >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)
        return ccUNICODE;
    if (n == 0 || IsBinary(bytes, n))
        return std::nullopt;
    if (IsMultiByteUtf8(bytes, n))
        return ccUTF8;
    if (!HasHighByte(bytes, n))
        return HasKanjiEscape(bytes, n) ? std::optional<TVxCharCode>(ccJIS) : std::nullopt;
    const long euc = EucJpScore(bytes, n);
    const long sjis = ShiftJisScore(bytes, n);
    if (euc > sjis && euc > 0)
        return ccEUC;
    if (sjis > euc && sjis > 0)
        return ccSJIS;
    return std::nullopt;
}
