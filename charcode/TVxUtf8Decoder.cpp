#include "TVxUtf8Decoder.h"

namespace {
bool InRange(uint8_t b, uint8_t lo, uint8_t hi) { return b >= lo && b <= hi; }
} // namespace

int TVxUtf8Decoder::Sequence(const uint8_t *p, int count, char32_t &code)
{
    const uint8_t b = p[0];
    if (b < 0x80) {
        code = b;
        return 1;
    }
    int length;
    uint8_t lo = 0x80, hi = 0xBF; // the range of the second byte
    if (InRange(b, 0xC2, 0xDF)) {
        length = 2;
    } else if (InRange(b, 0xE0, 0xEF)) {
        length = 3;
        if (b == 0xE0)
            lo = 0xA0; // below: overlong
        else if (b == 0xED)
            hi = 0x9F; // above: surrogates
    } else if (InRange(b, 0xF0, 0xF4)) {
        length = 4;
        if (b == 0xF0)
            lo = 0x90; // below: overlong
        else if (b == 0xF4)
            hi = 0x8F; // above: beyond U+10FFFF
    } else {
        return 0; // a continuation byte, C0, C1 or F5..FF
    }
    if (count < length || !InRange(p[1], lo, hi))
        return 0;
    char32_t c = b & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        if (!InRange(p[k], 0x80, 0xBF))
            return 0;
        c = c << 6 | (p[k] & 0x3F);
    }
    code = c;
    return length;
}

void TVxUtf8Decoder::Decode(const uint8_t *bytes, int count, int32_t, int, TVxDecodedChar *out) const
{
    for (int i = 0; i < count;) {
        char32_t code = 0;
        const int length = Sequence(bytes + i, count - i, code);
        if (length == 0) {
            out[i++] = {1, kInvalid};
            continue;
        }
        Put(out, i, length, code);
        i += length;
    }
}
