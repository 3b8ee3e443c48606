#include "TVxEucJpDecoder.h"

#include <algorithm>

namespace {
bool IsJisByte(uint8_t b) { return b >= 0xA1 && b <= 0xFE; }
int Cell(uint8_t a, uint8_t b) { return (a - 0xA1) * 94 + (b - 0xA1); }
} // namespace

bool TVxEucJpDecoder::SyncsWithin(const uint8_t *bytes, int32_t base, int first) const
{
    return base == 0 || std::any_of(bytes, bytes + first, [](uint8_t b) { return b <= 0xA0; });
}

void TVxEucJpDecoder::Decode(const uint8_t *bytes, int count, int32_t base, int first, TVxDecodedChar *out) const
{
    first = std::min(first, count);
    int start = base == 0 ? 0 : first % 2;
    for (int i = first - 1; i >= 0; --i)
        if (bytes[i] <= 0xA0) {
            start = i;
            break;
        }
    Invalidate(out, 0, start);
    for (int i = start; i < count;) {
        const uint8_t b = bytes[i];
        const int left = count - i;
        if (b < 0x80) {
            out[i++] = {1, b};
        } else if (b == 0x8E && left >= 2 && bytes[i + 1] >= 0xA1 && bytes[i + 1] <= 0xDF) {
            Put(out, i, 2, 0xFF61 + (bytes[i + 1] - 0xA1));
            i += 2;
        } else if (b == 0x8F && left >= 3 && IsJisByte(bytes[i + 1]) && IsJisByte(bytes[i + 2])) {
            Put(out, i, 3, FThreeByte.Lookup(Cell(bytes[i + 1], bytes[i + 2]), bytes + i, 3));
            i += 3;
        } else if (IsJisByte(b) && left >= 2 && IsJisByte(bytes[i + 1])) {
            Put(out, i, 2, FTwoByte.Lookup(Cell(b, bytes[i + 1]), bytes + i, 2));
            i += 2;
        } else {
            out[i++] = {1, kInvalid};
        }
    }
}
