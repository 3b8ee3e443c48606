#include "TVxAlignedCompare.h"

#include "TVxByteRuns.h"

#include <algorithm>

TVxDiffList TVxAlignedCompare::Run(TVxByteSource &a, TVxByteSource &b, const TVxCompareOptions &options)
{
    TVxAlignedCompare compare(a, b, options);
    compare.Walk();
    return std::move(compare.FList);
}

TVxAlignedCompare::TVxAlignedCompare(TVxByteSource &a, TVxByteSource &b, const TVxCompareOptions &options)
    : FSizeA(a.Size()), FSizeB(b.Size()), FWindow(std::max<int64_t>(options.Window, kFirstRadius)),
      FBlock(std::max<int64_t>(options.Block, 1)), FList(options.MaxHunks, FSizeA, FSizeB),
      FReporter(options.Progress, FSizeA + FSizeB),
      // Room for a whole search stretch (or block) after any position, so that a walk
      // forwards reloads each buffer only every other stretch.
      FWinA(a, 2 * (std::max(FWindow, FBlock) + TVxAnchorFinder::kGram)),
      FWinB(b, 2 * (std::max(FWindow, FBlock) + TVxAnchorFinder::kGram)),
      FFinder(FWindow + TVxAnchorFinder::kGram)
{
}

void TVxAlignedCompare::Walk()
{
    for (;;) {
        const int64_t remA = FSizeA - FA, remB = FSizeB - FB;
        if (remA == 0 || remB == 0) {
            FList.Add({FA, remA, FB, remB});
            break;
        }
        // Take what both buffers hold; when one runs short, what the other holds, so that only
        // the short one reloads and little is moved (FA and FB drift apart at every insertion).
        const int64_t ra = FWinA.Resident(FA), rb = FWinB.Resident(FB);
        const int64_t low = std::min(ra, rb), high = std::max(ra, rb);
        const int64_t take = low >= kMinTake ? low : high >= kMinTake ? high : FBlock;
        const int64_t n = std::min({take, FBlock, remA, remB});
        const uint8_t *pa = FWinA.Get(FA, n);
        const uint8_t *pb = FWinB.Get(FB, n);
        const int64_t equal = TVxByteRuns::EqualPrefix(pa, pb, n);
        FA += equal;
        FB += equal;
        FReporter.Passed(FA + FB);
        if (equal < n && !Resync())
            break;
    }
    FReporter.Finished();
}

bool TVxAlignedCompare::Resync()
{
    const int64_t remA = FSizeA - FA, remB = FSizeB - FB;
    for (int64_t radius = kFirstRadius;; radius = std::min(2 * radius, FWindow)) {
        const int64_t spanA = std::min(remA, radius + TVxAnchorFinder::kGram);
        const int64_t spanB = std::min(remB, radius + TVxAnchorFinder::kGram);
        const uint8_t *pa = FWinA.Get(FA, spanA);
        const uint8_t *pb = FWinB.Get(FB, spanB);
        const auto anchor = FFinder.Find(pa, spanA, pb, spanB);
        if (anchor) {
            FFailures = 0;
            const bool room = FStretch.Add(FList, pa, FA, anchor->A, pb, FB, anchor->B);
            FA += anchor->A;
            FB += anchor->B;
            return room;
        }
        if (spanA == remA && spanB == remB) {
            // Both files end within the stretch and never agree again: the rest is one stretch.
            const bool room = FStretch.Add(FList, pa, FA, remA, pb, FB, remB);
            FA = FSizeA;
            FB = FSizeB;
            return room;
        }
        if (radius >= FWindow) {
            // Searches that keep failing (unrelated data) would cost more than the bytes they
            // pass: each one in a row hands twice as much to the byte-by-byte walk, up to 16
            // windows, until an anchor is found again.
            const int64_t n = FWindow << std::min(FFailures, kMaxBackoff);
            ++FFailures;
            return Bytewise(std::min({n, remA, remB}));
        }
    }
}

bool TVxAlignedCompare::Bytewise(int64_t n)
{
    // In blocks: n may exceed what the buffers hold.
    for (const int64_t end = FA + n; FA < end;) {
        const int64_t m = std::min(FBlock, end - FA);
        const uint8_t *pa = FWinA.Get(FA, m);
        const uint8_t *pb = FWinB.Get(FB, m);
        if (!TVxByteRuns::AddDifferingRuns(pa, pb, m, FA, FB, FList))
            return false;
        FA += m;
        FB += m;
        FReporter.Passed(FA + FB);
    }
    return true;
}
