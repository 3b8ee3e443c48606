#pragma once
// What a caller chooses for a compare (TVxByteCompare, TVxAlignedCompare, TVxCompare).
//
// Progress: Report(done, total, cancellable = true) every Progress::kChunk bytes or so, where
// total is SizeA + SizeB and done counts the bytes of both files passed so far, the last call
// with done == total. Report may throw TVxCancelled: the compare then passes it on and
// returns nothing, so the caller's previous result is what stays.

#include "TVxDiffList.h"
#include "TVxProgress.h"

#include <cstdint>

struct TVxCompareOptions {
    // How far ahead the aligned compare looks for the place where the files agree again,
    // on each side (TVxAlignedCompare): 4 MiB. Small values exist for tests.
    static constexpr int64_t kDefaultWindow = int64_t(4) << 20;
    // The block both compares read from each file and scan in one go.
    static constexpr int64_t kDefaultBlock = int64_t(4) << 20;

    TVxProgress *Progress = nullptr;
    size_t MaxHunks = TVxDiffList::kDefaultCap;
    int64_t Window = kDefaultWindow;
    int64_t Block = kDefaultBlock;
};
