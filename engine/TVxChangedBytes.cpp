#include "TVxChangedBytes.h"

#include <algorithm>

std::vector<TVxChangedBytes::TRange>::iterator TVxChangedBytes::After(int32_t offset)
{
    return std::upper_bound(FRanges.begin(), FRanges.end(), offset,
                            [](int32_t at, const TRange &r) { return at < r.End; });
}

void TVxChangedBytes::Overwrite(int32_t offset, int32_t count)
{
    if (count <= 0)
        return;
    int32_t first = offset;
    int32_t end = offset + count;
    // Every range touching [first, end) (adjacent ones included) folds into one.
    auto lo = std::lower_bound(FRanges.begin(), FRanges.end(), first,
                               [](const TRange &r, int32_t at) { return r.End < at; });
    auto hi = lo;
    while (hi != FRanges.end() && hi->First <= end) {
        first = std::min(first, hi->First);
        end = std::max(end, hi->End);
        ++hi;
    }
    if (lo == hi) {
        FRanges.insert(lo, TRange{first, end});
        return;
    }
    *lo = TRange{first, end};
    FRanges.erase(lo + 1, hi);
}

void TVxChangedBytes::Insert(int32_t offset, int32_t count)
{
    if (count <= 0)
        return;
    auto it = After(offset);
    // A range straddling the insertion point is split around the new bytes; since those are
    // changed too, it simply grows by count.
    if (it != FRanges.end() && it->First < offset) {
        it->End += count;
        ++it;
    }
    for (auto j = it; j != FRanges.end(); ++j) {
        j->First += count;
        j->End += count;
    }
    Overwrite(offset, count);
}

void TVxChangedBytes::Delete(int32_t offset, int32_t count)
{
    if (count <= 0)
        return;
    const int32_t end = offset + count;
    auto it = After(offset);
    auto out = it;
    for (; it != FRanges.end(); ++it) {
        TRange r = *it;
        // Bytes of r inside the deleted span vanish; those after it move down.
        const int32_t keepBefore = std::max(0, std::min(r.End, offset) - r.First);
        const int32_t keepAfter = std::max(0, r.End - std::max(r.First, end));
        if (keepBefore + keepAfter == 0)
            continue;
        const int32_t first = r.First < offset ? r.First : std::max(r.First, end) - count;
        TRange moved{first, first + keepBefore + keepAfter};
        // The deletion can close the gap between two ranges.
        if (out != FRanges.begin() && (out - 1)->End == moved.First)
            (out - 1)->End = moved.End;
        else
            *out++ = moved;
    }
    FRanges.erase(out, FRanges.end());
}

void TVxChangedBytes::Replace(int32_t offset, int32_t oldCount, int32_t newCount)
{
    if (oldCount == newCount) {
        Overwrite(offset, newCount);
        return;
    }
    Delete(offset, oldCount);
    Insert(offset, newCount);
}

bool TVxChangedBytes::Contains(int32_t offset) const
{
    auto it = std::upper_bound(FRanges.begin(), FRanges.end(), offset,
                               [](int32_t at, const TRange &r) { return at < r.End; });
    return it != FRanges.end() && it->First <= offset;
}

std::vector<TVxChangedBytes::TRange> TVxChangedBytes::Intersecting(int32_t first, int32_t end) const
{
    std::vector<TRange> out;
    auto it = std::upper_bound(FRanges.begin(), FRanges.end(), first,
                               [](int32_t at, const TRange &r) { return at < r.End; });
    for (; it != FRanges.end() && it->First < end; ++it)
        out.push_back(TRange{std::max(it->First, first), std::min(it->End, end)});
    return out;
}
