#include "TVxSjisDecoder.h"

#include "TVxTextFilter.h"

#include <algorithm>
#include <string>
#include <vector>

int TVxSjisDecoder::SyncPoint(const uint8_t *bytes, int32_t base, int first)
{
    for (int i = first - 1; i >= 0; --i)
        if (!TVxTextFilter::IsLeadByte(bytes[i]))
            return std::min(i + 1, std::max(0, first - kContext));
    // Only lead-range bytes back to the context's start: the document's start begins a
    // character; elsewhere pair them from an even distance.
    return base == 0 ? 0 : first % 2;
}

void TVxSjisDecoder::Decode(const uint8_t *bytes, int count, int32_t base, int first, TVxDecodedChar *out) const
{
    first = std::min(first, count);
    const int start = SyncPoint(bytes, base, first);
    Invalidate(out, 0, start);
    const int n = count - start;
    std::vector<uint8_t> sp(static_cast<size_t>(n));
    const std::string shown = TVxTextFilter::FilterText(bytes + start, size_t(n), ccSJIS, false, sp.data());
    for (int k = 0; k < n; ++k) {
        const int i = start + k;
        const uint8_t b = bytes[i];
        if (sp[k] == TVxTextFilter::kTrail)
            continue;
        if (sp[k] == TVxTextFilter::kPair && k + 1 < n) {
            Put(out, i, 2, FPairs.Lookup(b * 256 + bytes[i + 1], bytes + i, 2));
        } else if (uint8_t(shown[size_t(k)]) == b && !TVxTextFilter::IsLeadByte(b)) {
            // Shown as itself: ASCII or half-width katakana.
            out[i] = {1, TVxTextFilter::IsHalfWidthKatakana(b) ? char32_t(0xFF61 + (b - 0xA1)) : char32_t(b)};
        } else {
            out[i] = {1, b < 0x20 || b == 0x7F ? char32_t(b) : kInvalid};
        }
    }
}
