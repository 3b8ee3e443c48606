#include "TVxTextFilter.h"

namespace {
constexpr char kDot = '.';

bool IsLineBreak(uint8_t b) { return b == 0x0A || b == 0x0D; }
} // namespace

std::string TVxTextFilter::FilterText(const uint8_t *bytes, size_t count, TVxCharCode code, bool keepLineBreaks,
                                      uint8_t *spans)
{
    std::string out(count, kDot);
    if (count == 0)
        return out;
    if (code == ccSJIS) {
        FilterSjis(bytes, count, keepLineBreaks, &out[0], spans);
        return out;
    }
    if (code == ccASCII)
        FilterAscii(bytes, count, keepLineBreaks, &out[0]);
    else
        out.assign(reinterpret_cast<const char *>(bytes), count);
    if (spans)
        for (size_t i = 0; i < count; ++i)
            spans[i] = kSingle;
    return out;
}

void TVxTextFilter::FilterAscii(const uint8_t *bytes, size_t count, bool keepLineBreaks, char *out)
{
    for (size_t i = 0; i < count; ++i) {
        uint8_t b = bytes[i];
        if ((b >= 0x20 && b <= 0x7E) || (keepLineBreaks && IsLineBreak(b)))
            out[i] = static_cast<char>(b);
    }
}

// A one-bit state machine: `pending` is set after a lead byte whose trail has not come yet.
// A byte that cannot be a trail retracts the pending lead (it becomes "."), except a kept
// line break, which leaves it as it stands.
void TVxTextFilter::FilterSjis(const uint8_t *bytes, size_t count, bool keepLineBreaks, char *out, uint8_t *spans)
{
    bool pending = false;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t b = bytes[i];
        uint8_t span = kSingle;
        char c = kDot;
        if (keepLineBreaks && IsLineBreak(b)) {
            c = static_cast<char>(b);
            pending = false;
        } else if (pending) {
            pending = false;
            if ((b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC)) {
                c = static_cast<char>(b);
                span = kTrail;
                if (spans)
                    spans[i - 1] = kPair;
            } else {
                out[i - 1] = kDot;
                if (b >= 0x20 && b <= 0x3F)
                    c = static_cast<char>(b);
            }
        } else if ((b >= 0x20 && b <= 0x7E) || IsHalfWidthKatakana(b)) {
            c = static_cast<char>(b);
        } else if (IsLeadByte(b)) {
            // Kept as is; a lead at the very end of the input stays unchanged.
            c = static_cast<char>(b);
            pending = true;
        }
        out[i] = c;
        if (spans)
            spans[i] = span;
    }
}
