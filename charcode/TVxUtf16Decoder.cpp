#include "TVxUtf16Decoder.h"

void TVxUtf16Decoder::Decode(const uint8_t *bytes, int count, int32_t base, int, TVxDecodedChar *out) const
{
    const int start = (base & 1) != 0 && count > 0 ? 1 : 0;
    Invalidate(out, 0, start);
    auto unit = [bytes](int i) { return char32_t(bytes[i] | bytes[i + 1] << 8); };
    for (int i = start; i < count;) {
        if (count - i < 2) {
            out[i++] = {1, kInvalid};
            continue;
        }
        const char32_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && count - i >= 4 && unit(i + 2) >= 0xDC00 && unit(i + 2) <= 0xDFFF) {
            Put(out, i, 4, 0x10000 + ((u - 0xD800) << 10) + (unit(i + 2) - 0xDC00));
            i += 4;
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            Invalidate(out, i, i + 2);
            i += 2;
        } else {
            Put(out, i, 2, u);
            i += 2;
        }
    }
}
