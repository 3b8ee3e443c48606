// The compare aware of inserted and deleted bytes: always a valid edit script, close to the
// fewest edits where changes are sparse, one hunk per far-apart insertion or deletion, and a
// valid script still where nothing aligns within the window.

#include "CompareReference.h"
#include "TVxCompare.h"

#include <gtest/gtest.h>

namespace {
TVxDiffList Aligned(const TBytes &a, const TBytes &b, int64_t window, int64_t block,
                    size_t cap = TVxDiffList::kDefaultCap)
{
    TMemorySource sa(a), sb(b);
    TVxCompareOptions o;
    o.Window = window;
    o.Block = block;
    o.MaxHunks = cap;
    return TVxCompare::Run(TVxCompare::TMode::Aligned, sa, sb, o);
}

// B made from A by `edits` random changes, insertions and deletions of 1..maxLen bytes at
// places at least `gap` bytes apart (0: anywhere, overlapping too).
TBytes Edited(std::mt19937 &rng, const TBytes &a, int edits, size_t maxLen, size_t gap, int alphabet)
{
    TBytes b = a;
    std::vector<size_t> at;
    for (int e = 0; e < edits && !b.empty(); ++e)
        at.push_back(rng() % b.size());
    std::sort(at.begin(), at.end());
    size_t last = SIZE_MAX;
    // From the back, so earlier places stay where they were drawn.
    for (auto it = at.rbegin(); it != at.rend(); ++it) {
        const size_t p = *it;
        if (gap && last != SIZE_MAX && last - p < gap)
            continue;
        last = p;
        const size_t len = 1 + rng() % maxLen;
        switch (rng() % 3) {
        case 0:
            for (size_t i = p; i < std::min(b.size(), p + len); ++i)
                b[i] = uint8_t(b[i] + 1 + rng() % 255);
            break;
        case 1: {
            const TBytes ins = RandomBytes(rng, len, alphabet);
            b.insert(b.begin() + std::ptrdiff_t(p), ins.begin(), ins.end());
            break;
        }
        default:
            b.erase(b.begin() + std::ptrdiff_t(p), b.begin() + std::ptrdiff_t(std::min(b.size(), p + len)));
        }
    }
    return b;
}
} // namespace

TEST(AlignedCompare, AlwaysAnEditScriptFromAToB)
{
    std::mt19937 rng(21);
    for (int round = 0; round < 600; ++round) {
        // Full bytes and a two-letter alphabet, where short agreements are everywhere.
        const int alphabet = round % 3 == 0 ? 2 : 256;
        const TBytes a = RandomBytes(rng, rng() % 900, alphabet);
        const TBytes b = round % 17 == 0 ? RandomBytes(rng, rng() % 900, alphabet)
                                         : Edited(rng, a, int(rng() % 12), 1 + rng() % 200, 0, alphabet);
        const int64_t window = std::vector<int64_t>{256, 300, 1024, 4 << 20}[size_t(round) % 4];
        const int64_t block = std::vector<int64_t>{1, 33, 256, 1 << 20}[size_t(round / 4) % 4];
        const TVxDiffList got = Aligned(a, b, window, block);
        ASSERT_EQ(EditScriptError(got, a, b), "") << "round " << round;
        ASSERT_FALSE(got.Truncated());
    }
}

TEST(AlignedCompare, SparseChangesCostLittleMoreThanTheFewestEdits)
{
    std::mt19937 rng(33);
    int64_t ours = 0, fewest = 0;
    for (int round = 0; round < 300; ++round) {
        const TBytes a = RandomBytes(rng, 200 + rng() % 600);
        const TBytes b = Edited(rng, a, 1 + int(rng() % 5), 1 + rng() % 16, 100, 256);
        const TVxDiffList got = Aligned(a, b, 4096, 1 << 20);
        ASSERT_EQ(EditScriptError(got, a, b), "");
        const int64_t cost = got.DifferingA() + got.DifferingB(), best = MinimumEdits(a, b);
        ASSERT_LE(cost, 2 * best + 2) << "round " << round;
        ours += cost;
        fewest += best;
    }
    // Over all rounds within a quarter of the minimum.
    EXPECT_LE(ours * 4, fewest * 5) << ours << " vs " << fewest;
}

TEST(AlignedCompare, FarApartInsertionsAndDeletionsAreOneHunkEach)
{
    std::mt19937 rng(45);
    const int64_t window = 64 << 10;
    const TBytes a = RandomBytes(rng, 600000);
    // From the back: 40 runs of 1..window bytes inserted into or deleted from B, 12000 bytes apart.
    TBytes b = a;
    std::vector<TVxDiffHunk> want;
    for (int k = 39; k >= 0; --k) {
        const int64_t at = 5000 + k * 12000;
        const int64_t len = k % 4 == 0 ? 1 : 1 + int64_t(rng() % (k % 2 ? 4096 : window - 64));
        if (k % 2) {
            const TBytes ins = RandomBytes(rng, size_t(len));
            b.insert(b.begin() + at, ins.begin(), ins.end());
            want.push_back({at, 0, at, len});
        } else {
            const int64_t cut = std::min<int64_t>(len, 11000);
            b.erase(b.begin() + at, b.begin() + at + cut);
            want.push_back({at, cut, at, 0});
        }
    }
    std::reverse(want.begin(), want.end());
    // Shift B's starts by the insertions and deletions before each.
    int64_t delta = 0;
    for (TVxDiffHunk &h : want) {
        h.BStart += delta;
        delta += h.BLength - h.ALength;
    }
    for (int64_t block : {int64_t(4096), int64_t(1) << 20}) {
        const TVxDiffList got = Aligned(a, b, window, block);
        ASSERT_EQ(EditScriptError(got, a, b), "");
        ASSERT_EQ(got.Count(), want.size()) << "block " << block;
        // A run's place is ambiguous by the bytes it shares with its neighbours only; with
        // random bytes that is rarely more than a byte or two.
        for (size_t i = 0; i < want.size(); ++i) {
            EXPECT_NEAR(double(got[i].AStart), double(want[i].AStart), 4) << i;
            EXPECT_EQ(got[i].ALength, want[i].ALength) << i;
            EXPECT_EQ(got[i].BLength, want[i].BLength) << i;
        }
    }
}

TEST(AlignedCompare, BeyondTheWindowItFallsBackToBytesAndStaysValid)
{
    std::mt19937 rng(57);
    const TBytes a = RandomBytes(rng, 100000);
    TBytes b = a;
    const TBytes big = RandomBytes(rng, 20000);
    b.insert(b.begin() + 10000, big.begin(), big.end());
    const TVxDiffList small = Aligned(a, b, 4096, 1024);
    EXPECT_EQ(EditScriptError(small, a, b), "");
    const TVxDiffList wide = Aligned(a, b, 32768, 1024);
    EXPECT_EQ(wide.Hunks(), (std::vector<TVxDiffHunk>{{10000, 0, 10000, 20000}}));
    // Unrelated files: still a valid script, and the cap stops it with the first hunks kept.
    const TBytes c = RandomBytes(rng, 50000);
    const TVxDiffList all = Aligned(a, c, 4096, 1024);
    EXPECT_EQ(EditScriptError(all, a, c), "");
    const TVxDiffList cut = Aligned(a, c, 4096, 1024, 10);
    EXPECT_TRUE(cut.Truncated());
    ASSERT_EQ(cut.Count(), 10u);
    EXPECT_TRUE(std::equal(cut.Hunks().begin(), cut.Hunks().end(), all.Hunks().begin()));
}

TEST(AlignedCompare, EdgeCases)
{
    std::mt19937 rng(9);
    const TBytes x = RandomBytes(rng, 3000);
    const TBytes prefix(x.begin(), x.begin() + 1000), suffix(x.begin() + 1000, x.end());
    EXPECT_EQ(Aligned({}, {}, 256, 64).Count(), 0u);
    EXPECT_EQ(Aligned(x, x, 256, 64).Count(), 0u);
    EXPECT_EQ(Aligned({}, x, 256, 64).Hunks(), (std::vector<TVxDiffHunk>{{0, 0, 0, 3000}}));
    EXPECT_EQ(Aligned(x, {}, 256, 64).Hunks(), (std::vector<TVxDiffHunk>{{0, 3000, 0, 0}}));
    EXPECT_EQ(Aligned(prefix, x, 256, 64).Hunks(), (std::vector<TVxDiffHunk>{{1000, 0, 1000, 2000}}));
    EXPECT_EQ(Aligned(x, prefix, 256, 64).Hunks(), (std::vector<TVxDiffHunk>{{1000, 2000, 1000, 0}}));
    EXPECT_EQ(Aligned(suffix, x, 4096, 64).Hunks(), (std::vector<TVxDiffHunk>{{0, 0, 0, 1000}}));
    EXPECT_EQ(Aligned(x, suffix, 4096, 64).Hunks(), (std::vector<TVxDiffHunk>{{0, 1000, 0, 0}}));
}
