#include "TVxSearchBounds.h"

#include <algorithm>

TVxSearchRange TVxSearchBounds::ForFind(int32_t fileSize, int32_t caret, int32_t selAnchor, int32_t selExtent,
                                        bool backward, bool fromTop)
{
    const int32_t endBound = backward ? 0 : fileSize - 1;
    if (fromTop)
        return {backward ? fileSize - 1 : 0, endBound};
    if (selExtent == -1)
        return {caret, endBound};
    // 64-bit on the way: a selection bound at the extremes must not wrap.
    const int64_t start = backward ? int64_t(std::max(selAnchor, selExtent)) - 1
                                   : int64_t(std::min(selAnchor, selExtent)) + 1;
    return {static_cast<int32_t>(std::clamp<int64_t>(start, INT32_MIN, INT32_MAX)), endBound};
}
