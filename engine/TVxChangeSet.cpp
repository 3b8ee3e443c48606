#include "TVxChangeSet.h"

#include <algorithm>
#include <iterator>

void TVxChangeSet::Reset()
{
    FKnown = true;
    FRanges.clear();
    FBytes = 0;
}

void TVxChangeSet::Invalidate()
{
    FKnown = false;
    FRanges.clear();
    FBytes = 0;
}

void TVxChangeSet::Add(int32_t offset, int32_t count)
{
    if (!FKnown || count <= 0)
        return;
    int32_t first = offset;
    int32_t end = static_cast<int32_t>(std::min<int64_t>(int64_t(offset) + count, INT32_MAX));
    // Swallow every range that touches [first, end): the one starting at or before it, and
    // those starting inside it.
    auto it = FRanges.upper_bound(first);
    if (it != FRanges.begin()) {
        auto prev = std::prev(it);
        if (prev->second >= first)
            it = prev;
    }
    while (it != FRanges.end() && it->first <= end) {
        first = std::min(first, it->first);
        end = std::max(end, it->second);
        FBytes -= it->second - it->first;
        it = FRanges.erase(it);
    }
    FRanges.emplace(first, end);
    FBytes += end - first;
    if (FRanges.size() > kMaxRanges)
        Invalidate();
}

std::vector<std::pair<int32_t, int32_t>> TVxChangeSet::Ranges() const
{
    return std::vector<std::pair<int32_t, int32_t>>(FRanges.begin(), FRanges.end());
}
