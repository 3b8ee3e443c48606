#pragma once
// Where Find, FindNext and FindPrev start and where they stop, from the caret and the
// selection (FSelExtent = -1: nothing selected; otherwise the selection runs between
// FSelAnchor and FSelExtent in either order).
//
//   Find from the top          forward 0 .. FileSize - 1      backward FileSize - 1 .. 0
//   Find / FindNext / FindPrev without a selection: from the caret offset
//   with a selection           forward: smaller bound + 1     backward: larger bound - 1
//   the end bound is FileSize - 1 forward and 0 backward in every case.
//
// So when the selection is the previous match, the next search can find an occurrence that
// overlaps it but not the same one. The values go to TVxSearcher::Search unclamped: it
// treats out-of-range starts as its contract says.
//
// Who calls: the editor control's Find, FindNext and FindPrev.

#include <cstdint>

struct TVxSearchRange {
    int32_t Start;
    int32_t EndBound;
    bool operator==(const TVxSearchRange &o) const { return Start == o.Start && EndBound == o.EndBound; }
};

class TVxSearchBounds {
public:
    static TVxSearchRange ForFind(int32_t fileSize, int32_t caret, int32_t selAnchor, int32_t selExtent,
                                  bool backward, bool fromTop);
    static TVxSearchRange ForFindNext(int32_t fileSize, int32_t caret, int32_t selAnchor, int32_t selExtent)
    {
        return ForFind(fileSize, caret, selAnchor, selExtent, false, false);
    }
    static TVxSearchRange ForFindPrev(int32_t fileSize, int32_t caret, int32_t selAnchor, int32_t selExtent)
    {
        return ForFind(fileSize, caret, selAnchor, selExtent, true, false);
    }
};
