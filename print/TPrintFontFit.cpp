#include "TPrintFontFit.h"

#include <algorithm>

int32_t TPrintFontFit::NextTenths(int32_t tenths, int64_t needed, int64_t available, int32_t minimum)
{
    const int64_t scaled = needed > 0 ? std::max<int64_t>(0, available) * tenths / needed : 0;
    const int64_t next = std::min<int64_t>(tenths - 1, scaled);
    return static_cast<int32_t>(std::max<int64_t>(minimum, next));
}

int32_t TPrintFontFit::Fit(int32_t tenths, int32_t left, int32_t dumpLineLength, int32_t pageWidth,
                           const std::function<int32_t(int32_t)> &charWidthAt, int32_t minimum)
{
    auto fits = [&](int32_t t) { return LineWidth(left, dumpLineLength, charWidthAt(t)) <= pageWidth; };
    int64_t needed = LineWidth(left, dumpLineLength, charWidthAt(tenths));
    if (needed <= pageWidth || tenths <= minimum)
        return tenths;
    // Only the cells scale with the font; the margin stays, so the cells get what is left.
    const int64_t room = int64_t(pageWidth) - left;
    int32_t tooWide = tenths, size = tenths;
    while (needed > pageWidth && size > minimum) {
        tooWide = size;
        size = NextTenths(size, needed - left, room, minimum);
        needed = LineWidth(left, dumpLineLength, charWidthAt(size));
    }
    if (needed > pageWidth)
        return size; // the minimum, and even that is too wide: print it as small as it gets
    // The scaled guess rounds down; the largest size that still fits lies below tooWide.
    while (tooWide - size > 1) {
        const int32_t mid = size + (tooWide - size) / 2;
        (fits(mid) ? size : tooWide) = mid;
    }
    return size;
}
