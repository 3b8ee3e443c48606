#pragma once
// One side of a compare's differences as the marks of an editor pane (TVxMarkSource): the
// bytes of each hunk on this side on the marks' background, and a hunk with no bytes on this
// side (bytes only the other file has) as a gap where they would stand.
//
// Reads the list it is given by pointer each time it is asked, so it follows a new result at
// once; null: no marks. Cost per paint: one binary search, then the hunks of the painted rows.
//
// Who calls: the editors' painters; TCompareCommands sets one per pane.

#include "TVxDiffList.h"
#include "TVxMarkSource.h"

class TCompareMarks : public TVxMarkSource {
public:
    enum class TSide { A, B };

    TCompareMarks(const TVxDiffList *const &list, TSide side) : FList(list), FSide(side) {}

    void MarksIn(int32_t first, int32_t end, std::vector<TRange> &out) const override;

private:
    const TVxDiffList *const &FList;
    TSide FSide;
};
