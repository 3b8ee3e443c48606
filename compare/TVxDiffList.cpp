#include "TVxDiffList.h"

#include <algorithm>

TVxDiffList::TVxDiffList(size_t cap, int64_t sizeA, int64_t sizeB) : FCap(cap), FSizeA(sizeA), FSizeB(sizeB) {}

bool TVxDiffList::Add(const TVxDiffHunk &h)
{
    if (h.ALength == 0 && h.BLength == 0)
        return true;
    if (!FHunks.empty()) {
        TVxDiffHunk &last = FHunks.back();
        if (last.AEnd() == h.AStart && last.BEnd() == h.BStart) {
            last.ALength += h.ALength;
            last.BLength += h.BLength;
            return true;
        }
    }
    if (FHunks.size() >= FCap) {
        FTruncated = true;
        return false;
    }
    FHunks.push_back(h);
    return true;
}

int64_t TVxDiffList::DifferingA() const
{
    int64_t n = 0;
    for (const TVxDiffHunk &h : FHunks)
        n += h.ALength;
    return n;
}

int64_t TVxDiffList::DifferingB() const
{
    int64_t n = 0;
    for (const TVxDiffHunk &h : FHunks)
        n += h.BLength;
    return n;
}

ptrdiff_t TVxDiffList::FirstAtOrAfter(int64_t a) const
{
    const auto it = std::lower_bound(FHunks.begin(), FHunks.end(), a,
                                     [](const TVxDiffHunk &h, int64_t v) { return h.AStart < v; });
    return it == FHunks.end() ? -1 : it - FHunks.begin();
}

ptrdiff_t TVxDiffList::LastBefore(int64_t a) const
{
    const auto it = std::lower_bound(FHunks.begin(), FHunks.end(), a,
                                     [](const TVxDiffHunk &h, int64_t v) { return h.AStart < v; });
    return it - FHunks.begin() - 1;
}

namespace {
// The last hunk starting at or before v on the side `start` reads; -1 when none does.
template <typename TStart>
ptrdiff_t LastStartingAtOrBefore(const std::vector<TVxDiffHunk> &hunks, int64_t v, TStart start)
{
    const auto it = std::upper_bound(hunks.begin(), hunks.end(), v,
                                     [&](int64_t x, const TVxDiffHunk &h) { return x < start(h); });
    return it - hunks.begin() - 1;
}
} // namespace

ptrdiff_t TVxDiffList::HunkHoldingA(int64_t a) const
{
    const ptrdiff_t i = LastStartingAtOrBefore(FHunks, a, [](const TVxDiffHunk &h) { return h.AStart; });
    return i >= 0 && a < FHunks[size_t(i)].AEnd() ? i : -1;
}

ptrdiff_t TVxDiffList::HunkHoldingB(int64_t b) const
{
    const ptrdiff_t i = LastStartingAtOrBefore(FHunks, b, [](const TVxDiffHunk &h) { return h.BStart; });
    return i >= 0 && b < FHunks[size_t(i)].BEnd() ? i : -1;
}

int64_t TVxDiffList::FacingB(int64_t a) const
{
    // AStart rises strictly, so the last hunk starting at or before a is the one a lies in
    // or follows.
    const ptrdiff_t i = LastStartingAtOrBefore(FHunks, a, [](const TVxDiffHunk &h) { return h.AStart; });
    if (i < 0)
        return a;
    const TVxDiffHunk &h = FHunks[size_t(i)];
    if (a < h.AEnd())
        return h.BStart + std::min(a - h.AStart, std::max<int64_t>(h.BLength - 1, 0));
    return a - h.AEnd() + h.BEnd();
}

int64_t TVxDiffList::FacingA(int64_t b) const
{
    const ptrdiff_t i = LastStartingAtOrBefore(FHunks, b, [](const TVxDiffHunk &h) { return h.BStart; });
    if (i < 0)
        return b;
    const TVxDiffHunk &h = FHunks[size_t(i)];
    if (b < h.BEnd())
        return h.AStart + std::min(b - h.BStart, std::max<int64_t>(h.ALength - 1, 0));
    return b - h.BEnd() + h.AEnd();
}
