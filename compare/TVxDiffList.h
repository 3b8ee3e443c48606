#pragma once
// The result of a compare: the hunks (TVxDiffHunk) in file order, and the questions a
// two-pane view asks of them.
//
// Invariants (the compares build the list through Add, which keeps them):
//  - AStart and BStart both rise strictly from hunk to hunk, no hunk is empty, and two hunks
//    never touch on both sides (Add merges such neighbours into one);
//  - the bytes between hunks are equal in A and B, so an offset outside every hunk of A has
//    a facing offset in B at a fixed distance until the next hunk.
//
// Bound: at most Cap() hunks (1,000,000 unless the caller chooses), 32 bytes each. A compare
// whose list is full stops there: Truncated() is then true and nothing is known beyond the
// last hunk (the queries treat that region as equal, shifted like the last hunk).
//
// Cost: the queries are binary searches, O(log n); nothing is cached.
// Who calls: TVxByteCompare and TVxAlignedCompare fill it; the compare view reads it.

#include "TVxDiffHunk.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class TVxDiffList {
public:
    static constexpr size_t kDefaultCap = 1000000;

    explicit TVxDiffList(size_t cap = kDefaultCap, int64_t sizeA = 0, int64_t sizeB = 0);

    // --- Building ------------------------------------------------------------------------
    // Appends h, which starts at or after the end of the last hunk on both sides (the compares
    // produce them in order). An empty h is ignored; one that touches the last hunk on both
    // sides extends it. Returns false, setting Truncated(), when a new hunk finds the list full.
    bool Add(const TVxDiffHunk &h);

    // --- Reading -------------------------------------------------------------------------
    size_t Count() const { return FHunks.size(); }
    const TVxDiffHunk &operator[](size_t i) const { return FHunks[i]; }
    const std::vector<TVxDiffHunk> &Hunks() const { return FHunks; }
    size_t Cap() const { return FCap; }
    bool Truncated() const { return FTruncated; }
    int64_t SizeA() const { return FSizeA; }
    int64_t SizeB() const { return FSizeB; }
    // Sums of the hunks' lengths: the bytes of A, and of B, that differ.
    int64_t DifferingA() const;
    int64_t DifferingB() const;

    // Next and previous difference from a caret in A: the first hunk with AStart >= a, and the
    // last hunk with AStart < a; -1 when there is none.
    ptrdiff_t FirstAtOrAfter(int64_t a) const;
    ptrdiff_t LastBefore(int64_t a) const;
    // The hunk whose A bytes (B bytes) hold the offset, -1 when it lies in equal bytes. A
    // hunk with no bytes on that side holds no offset there.
    ptrdiff_t HunkHoldingA(int64_t a) const;
    ptrdiff_t HunkHoldingB(int64_t b) const;
    bool DiffersA(int64_t a) const { return HunkHoldingA(a) >= 0; }
    bool DiffersB(int64_t b) const { return HunkHoldingB(b) >= 0; }
    // The offset of B that faces offset a of A (what the other pane scrolls to), and back.
    // In equal bytes it is the same byte; inside a hunk the same distance into the other side,
    // cut at its last byte (its start when it has none).
    int64_t FacingB(int64_t a) const;
    int64_t FacingA(int64_t b) const;

private:
    std::vector<TVxDiffHunk> FHunks;
    size_t FCap;
    int64_t FSizeA, FSizeB;
    bool FTruncated = false;
};
