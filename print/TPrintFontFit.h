#pragma once
// How small the print font has to be for a whole line to stand on the page.
//
// The page has no right margin: a line is the left margin, the dump line, one blank and the
// row's 16 character cells, and whatever of it runs past the device's page width is lost.
// At the stored default (a 14-point monospace face) that is the right part of the character
// column on A4 and Letter portrait. So when the line is wider than the page, the job's font
// is made smaller, in tenths of its size, until the line fits or the size reaches the
// minimum; everything else of the layout then follows from the smaller font as measured.
// A line that fits keeps its font untouched, and the stored setting is never changed.
//
// Each try scales the size by the room the cells have (page width less the margin) over the
// width they took (cell widths grow about linearly with the size), rounded down, and at
// least one tenth below the last try, so the search ends after a few measurements whatever
// the font's rounding does; then a bisection between that size and the last one too wide
// finds the largest size that fits. A font already at or below the minimum is never changed.

#include <cstdint>
#include <functional>

class TPrintFontFit {
public:
    // Six points: the smallest size still read comfortably on paper.
    static constexpr int32_t kMinimumTenths = 60;

    // Width of a whole line in device units: margin, dump line, one blank, 16 cells.
    static int64_t LineWidth(int32_t left, int32_t dumpLineLength, int32_t charWidth)
    {
        return int64_t(left) + int64_t(dumpLineLength + 17) * charWidth;
    }

    // The size to try after `tenths` gave a line `needed` wide for a page `available` wide.
    static int32_t NextTenths(int32_t tenths, int64_t needed, int64_t available, int32_t minimum);

    // The size (tenths) the job prints at: `tenths` itself when its line fits `pageWidth`,
    // else the largest size (in tenths) that fits, or the minimum when none does. `charWidthAt`
    // measures the width of one cell at a size (tenths).
    static int32_t Fit(int32_t tenths, int32_t left, int32_t dumpLineLength, int32_t pageWidth,
                       const std::function<int32_t(int32_t tenths)> &charWidthAt,
                       int32_t minimum = kMinimumTenths);
};
