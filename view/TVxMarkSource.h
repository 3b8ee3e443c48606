#pragma once
// Ranges of a document that a view paints on a background of their own (the differences of
// a compare), and places between two bytes that it marks with a bar (where the file it is
// compared with has bytes this one lacks). The owner of the marks answers; the view asks once
// per paint for the bytes of the rows it paints, so an answer costs a search, not a walk over
// every mark.
//
// Who calls: TVxCellPainter through the paint's snapshot; the compare feature implements it
// and calls TVxHexcavator::MarksChanged when its marks change.

#include <cstdint>
#include <vector>

class TVxMarkSource {
public:
    struct TRange {
        int32_t First;
        int32_t End; // End == First: a gap before First
    };

    virtual ~TVxMarkSource() = default;
    // Appends the marks meeting [first, end) (a gap at `first` or `end` included) to out,
    // ascending by First.
    virtual void MarksIn(int32_t first, int32_t end, std::vector<TRange> &out) const = 0;
};
