#include "TCompareMarks.h"

#include <algorithm>

void TCompareMarks::MarksIn(int32_t first, int32_t end, std::vector<TRange> &out) const
{
    if (!FList)
        return;
    const bool a = FSide == TSide::A;
    const auto start = [a](const TVxDiffHunk &h) { return a ? h.AStart : h.BStart; };
    const auto stop = [a](const TVxDiffHunk &h) { return a ? h.AEnd() : h.BEnd(); };
    const std::vector<TVxDiffHunk> &hunks = FList->Hunks();
    // Starts and ends rise from hunk to hunk on both sides: the first hunk reaching `first`.
    auto it = std::lower_bound(hunks.begin(), hunks.end(), int64_t(first),
                               [&](const TVxDiffHunk &h, int64_t at) { return stop(h) < at; });
    for (; it != hunks.end() && start(*it) <= end; ++it)
        out.push_back({int32_t(start(*it)), int32_t(stop(*it))});
}
