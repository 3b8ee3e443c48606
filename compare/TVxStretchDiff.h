#pragma once
// The exact differences inside a short stretch where the aligned compare found no anchor:
// a longest common subsequence of the two sides (dynamic programming over all pairs), its
// gaps added as hunks. Stretches with more than kMaxCells pairs, or empty on one side, are
// one hunk: exactness there would cost quadratic time.
//
// Cost: at most kMaxCells steps and 2 * kMaxCells bytes of memory per stretch.
// Who calls: TVxAlignedCompare.

#include "TVxDiffList.h"

#include <cstdint>
#include <vector>

class TVxStretchDiff {
public:
    // Bounds the cost per byte passed: data that differs densely, with just enough agreement
    // for an anchor every few hundred bytes, costs at most a few dozen steps per byte.
    static constexpr int64_t kMaxCells = int64_t(1) << 12;

    // Adds the hunks turning a[0, na) (at aStart in A) into b[0, nb) (at bStart in B) to
    // list; false when the list is full.
    bool Add(TVxDiffList &list, const uint8_t *a, int64_t aStart, int64_t na, const uint8_t *b, int64_t bStart,
             int64_t nb);

private:
    std::vector<uint16_t> FTable; // reused between stretches
};
