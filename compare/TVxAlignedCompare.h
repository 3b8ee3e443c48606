#pragma once
// Compare aware of inserted and deleted bytes: the hunks of an edit script that turns A into
// B, found in one forward pass with flat memory.
//
// How: A and B are walked in lockstep (memcmp speed, TVxByteRuns) until they differ. There
// the compare looks for the nearest place where both agree again (TVxAnchorFinder: a common
// run of at least 47 bytes, nearest by the sum of both distances) in stretches of both files
// growing by doubling from 256 bytes up to Options.Window (4 MiB) past the difference. The
// bytes before that place are one stretch, split into exact hunks by TVxStretchDiff when it is
// short (else one hunk); the walk goes on in lockstep from the anchor.
//
// What aligns: an insertion or deletion of up to Window bytes, or a changed region up to
// Window bytes long on each side, is found as such, and the rest of the file stays aligned
// after it; so one byte inserted near the start of a 1 GiB file gives one hunk. Changes less
// than 47 bytes apart form one stretch (still exact when it spans under 2^12 byte pairs).
//
// Worst case: when nothing agrees within Window bytes of both sides (unrelated data, or an
// insertion longer than the window), the next Window bytes are compared byte by byte (offset
// facing offset) and the search starts again at the next difference after them; each further
// failure in a row doubles that stretch, up to 16 windows (64 MiB), so that unrelated files
// cost little more than a byte-by-byte compare, at the price of realigning up to that much
// later. Every search costs O(the stretch it looked at) and the walk advances by at least
// about half that stretch, so time stays linear in SizeA + SizeB and memory is fixed: two buffers of
// 2 × max(Window, Block) bytes, the anchor table (at most 2 × Window bytes, grown only as far
// as the searches needed), the hunks (at most Options.MaxHunks, 32 bytes each, after which
// the compare stops and the list says Truncated). With the defaults that is about 24 MiB
// besides the hunks.
//
// Progress and cancellation as TVxCompareOptions says. Who calls: TVxCompare.

#include "TVxAnchorFinder.h"
#include "TVxByteSource.h"
#include "TVxCompareOptions.h"
#include "TVxCompareReporter.h"
#include "TVxDiffList.h"
#include "TVxSourceWindow.h"
#include "TVxStretchDiff.h"

class TVxAlignedCompare {
public:
    static TVxDiffList Run(TVxByteSource &a, TVxByteSource &b, const TVxCompareOptions &options);

private:
    static constexpr int64_t kFirstRadius = 256;
    // The least the walk compares without reloading a buffer.
    static constexpr int64_t kMinTake = 64 * 1024;
    // Failed searches in a row double the byte-by-byte stretch up to Window << kMaxBackoff.
    static constexpr int kMaxBackoff = 4;

    TVxAlignedCompare(TVxByteSource &a, TVxByteSource &b, const TVxCompareOptions &options);
    void Walk();
    // At a difference at (FA, FB): finds where the files agree again, adds the hunks before it
    // and moves there. False when the list is full.
    bool Resync();
    // The next n bytes of both sides compared offset against offset.
    bool Bytewise(int64_t n);

    const int64_t FSizeA, FSizeB, FWindow, FBlock;
    TVxDiffList FList;
    TVxCompareReporter FReporter;
    TVxSourceWindow FWinA, FWinB;
    TVxAnchorFinder FFinder;
    TVxStretchDiff FStretch;
    int64_t FA = 0, FB = 0;
    int FFailures = 0; // searches that found nothing since the last anchor
};
