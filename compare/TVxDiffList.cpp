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
// The last hunk starting at or before v on side A (fromA) or B; -1 when none does.
ptrdiff_t LastStartingAtOrBefore(const std::vector<TVxDiffHunk> &hunks, int64_t v, bool fromA)
{
    const auto it = std::upper_bound(hunks.begin(), hunks.end(), v, [fromA](int64_t x, const TVxDiffHunk &h) {
        return x < (fromA ? h.AStart : h.BStart);
    });
    return it - hunks.begin() - 1;
}

// The hunk whose bytes on side A (fromA) or B hold x; -1 when x lies in equal bytes.
ptrdiff_t HunkHolding(const std::vector<TVxDiffHunk> &hunks, int64_t x, bool fromA)
{
    const ptrdiff_t i = LastStartingAtOrBefore(hunks, x, fromA);
    return i >= 0 && x < (fromA ? hunks[size_t(i)].AEnd() : hunks[size_t(i)].BEnd()) ? i : -1;
}

// The offset of the other side facing x on side A (fromA) or B.
int64_t Facing(const std::vector<TVxDiffHunk> &hunks, int64_t x, bool fromA)
{
    // Starts rise strictly, so the last hunk starting at or before x is the one x lies in or
    // follows.
    const ptrdiff_t i = LastStartingAtOrBefore(hunks, x, fromA);
    if (i < 0)
        return x;
    const TVxDiffHunk &h = hunks[size_t(i)];
    const int64_t start = fromA ? h.AStart : h.BStart, end = fromA ? h.AEnd() : h.BEnd();
    const int64_t other = fromA ? h.BStart : h.AStart, otherLength = fromA ? h.BLength : h.ALength;
    if (x < end)
        return other + std::min(x - start, std::max<int64_t>(otherLength - 1, 0));
    return x - end + other + otherLength;
}
} // namespace

ptrdiff_t TVxDiffList::HunkHoldingA(int64_t a) const { return HunkHolding(FHunks, a, true); }
ptrdiff_t TVxDiffList::HunkHoldingB(int64_t b) const { return HunkHolding(FHunks, b, false); }
int64_t TVxDiffList::FacingB(int64_t a) const { return Facing(FHunks, a, true); }
int64_t TVxDiffList::FacingA(int64_t b) const { return Facing(FHunks, b, false); }
