// The list's queries against a walk over every offset, and a cancelled compare.

#include "../engine/TestProgress.h"
#include "CompareReference.h"
#include "TVxCompare.h"

#include <gtest/gtest.h>

namespace {
// Whether an offset lies in some hunk, by looking at every hunk.
bool InSomeHunk(const TVxDiffList &list, int64_t v, bool sideA)
{
    for (const TVxDiffHunk &h : list.Hunks())
        if (sideA ? (v >= h.AStart && v < h.AEnd()) : (v >= h.BStart && v < h.BEnd()))
            return true;
    return false;
}
} // namespace

TEST(DiffList, QueriesAgreeWithAWalkOverEveryOffset)
{
    std::mt19937 rng(77);
    for (int round = 0; round < 60; ++round) {
        const TBytes a = RandomBytes(rng, 1 + rng() % 2000);
        TBytes b = a;
        for (int e = int(rng() % 8); e > 0 && !b.empty(); --e) {
            const size_t at = rng() % b.size(), len = 1 + rng() % 30;
            if (rng() % 2)
                b.insert(b.begin() + std::ptrdiff_t(at), len, uint8_t(rng()));
            else
                b.erase(b.begin() + std::ptrdiff_t(at), b.begin() + std::ptrdiff_t(std::min(b.size(), at + len)));
        }
        TMemorySource sa(a), sb(b);
        const TVxDiffList list = TVxCompare::Run(TVxCompare::TMode::Aligned, sa, sb);
        ASSERT_EQ(EditScriptError(list, a, b), "");
        const auto count = ptrdiff_t(list.Count());
        for (ptrdiff_t i = 0; i < count; ++i) {
            const TVxDiffHunk &h = list[size_t(i)];
            EXPECT_EQ(list.FirstAtOrAfter(h.AStart), i);
            EXPECT_EQ(list.FirstAtOrAfter(h.AStart + 1), i + 1 < count ? i + 1 : -1);
            EXPECT_EQ(list.LastBefore(h.AStart), i - 1);
            EXPECT_EQ(list.LastBefore(h.AStart + 1), i);
        }
        int64_t lastFacing = 0;
        for (int64_t v = 0; v < int64_t(a.size()); ++v) {
            ASSERT_EQ(list.DiffersA(v), InSomeHunk(list, v, true)) << v;
            const int64_t f = list.FacingB(v);
            EXPECT_GE(f, lastFacing);
            lastFacing = f;
            if (!list.DiffersA(v)) {
                // Equal bytes face their twin, and the twin faces them back.
                ASSERT_LT(f, int64_t(b.size()));
                EXPECT_EQ(a[size_t(v)], b[size_t(f)]);
                EXPECT_FALSE(list.DiffersB(f));
                EXPECT_EQ(list.FacingA(f), v);
            } else {
                const TVxDiffHunk &h = list[size_t(list.HunkHoldingA(v))];
                EXPECT_TRUE(f >= h.BStart && f <= std::max(h.BStart, h.BEnd() - 1));
            }
        }
        for (int64_t v = 0; v < int64_t(b.size()); ++v)
            ASSERT_EQ(list.DiffersB(v), InSomeHunk(list, v, false)) << v;
    }
}

TEST(DiffList, CancelledCompareLeavesThePreviousResult)
{
    std::mt19937 rng(5);
    const TBytes a = RandomBytes(rng, 20 << 20);
    TBytes b = a;
    b[1000] ^= 1;
    b.insert(b.begin() + (12 << 20), 77, 0x33);
    for (const auto mode : {TVxCompare::TMode::Bytes, TVxCompare::TMode::Aligned}) {
        TMemorySource sa(a), sb(b);
        TRecordingProgress progress;
        TVxCompareOptions o;
        o.Progress = &progress;
        TVxDiffList result = TVxCompare::Run(mode, sa, sb, o);
        EXPECT_TRUE(progress.Monotone());
        ASSERT_GE(progress.Calls.size(), 4u);
        EXPECT_EQ(progress.Calls.back().Total, int64_t(a.size() + b.size()));
        const std::vector<TVxDiffHunk> before = result.Hunks();
        ASSERT_GE(before.size(), 2u);
        progress.Calls.clear();
        progress.Cancellable = 0;
        progress.CancelAt = 3;
        EXPECT_THROW(result = TVxCompare::Run(mode, sa, sb, o), TVxCancelled);
        EXPECT_EQ(result.Hunks(), before);
        EXPECT_EQ(progress.Calls.size(), 3u);
    }
}
