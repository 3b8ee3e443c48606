#include "TVxJisDecoder.h"

#include <algorithm>

namespace {
enum class TMode { None, Ascii, Kanji, Katakana };

constexpr uint8_t kEsc = 0x1B, kShiftOut = 0x0E, kShiftIn = 0x0F;
constexpr int kEscapeLength = 3;

// The mode a recognised escape sequence at bytes[i] switches to, None if there is none.
TMode EscapeAt(const uint8_t *bytes, int count, int i)
{
    if (bytes[i] != kEsc || count - i < kEscapeLength)
        return TMode::None;
    const uint8_t a = bytes[i + 1], b = bytes[i + 2];
    if (a == '$' && (b == '@' || b == 'B'))
        return TMode::Kanji;
    if (a == '(' && (b == 'B' || b == 'J'))
        return TMode::Ascii;
    if (a == '(' && b == 'I')
        return TMode::Katakana;
    return TMode::None;
}

bool IsSevenBitGraphic(uint8_t b) { return b >= 0x21 && b <= 0x7E; }
} // namespace

void TVxJisDecoder::Decode(const uint8_t *bytes, int count, int32_t base, int first, TVxDecodedChar *out) const
{
    (void)base; // the stretch's start is the document's start or the bounded look-back's, both ASCII
    first = std::min(first, count);
    int start = 0;
    for (int i = first - 1; i >= 0; --i)
        if (EscapeAt(bytes, count, i) != TMode::None) {
            start = i;
            break;
        }
    Invalidate(out, 0, start);

    TMode mode = TMode::Ascii;
    TMode beforeShift = TMode::Ascii; // the mode SI returns to
    bool shifted = false;
    for (int i = start; i < count;) {
        const uint8_t b = bytes[i];
        const TMode escape = EscapeAt(bytes, count, i);
        if (escape != TMode::None) {
            Invalidate(out, i, i + kEscapeLength);
            mode = escape;
            shifted = false;
            i += kEscapeLength;
            continue;
        }
        if (b == kShiftOut || b == kShiftIn) {
            if (b == kShiftOut && !shifted) {
                beforeShift = mode;
                mode = TMode::Katakana;
            } else if (b == kShiftIn && shifted) {
                mode = beforeShift;
            }
            shifted = b == kShiftOut;
            out[i++] = {1, b};
        } else if (b <= 0x20 || b == 0x7F) {
            out[i++] = {1, b};
        } else if (b >= 0xA1 && b <= 0xDF) {
            out[i++] = {1, char32_t(0xFF61 + (b - 0xA1))};
        } else if (b > 0x7F) {
            out[i++] = {1, kInvalid};
        } else if (mode == TMode::Ascii) {
            out[i++] = {1, b};
        } else if (mode == TMode::Katakana) {
            out[i++] = {1, b <= 0x5F ? char32_t(0xFF61 + (b - 0x21)) : kInvalid};
        } else if (i + 1 < count && IsSevenBitGraphic(bytes[i + 1])) {
            const uint8_t euc[2] = {uint8_t(b | 0x80), uint8_t(bytes[i + 1] | 0x80)};
            const char32_t code = FPairs.Lookup((b - 0x21) * 94 + (bytes[i + 1] - 0x21), euc, 2);
            if (code == kUnmapped)
                Invalidate(out, i, i + 2);
            else
                Put(out, i, 2, code);
            i += 2;
        } else {
            out[i++] = {1, kInvalid};
        }
    }
}
