#pragma once
// The compares' side of TVxProgress: called with the bytes of both files passed so far, it
// reports when another TVxProgress::kChunk has gone by (and once at the end), cancellably.
//
// Who calls: TVxByteCompare, TVxAlignedCompare.

#include "TVxProgress.h"

#include <cstdint>

class TVxCompareReporter {
public:
    TVxCompareReporter(TVxProgress *progress, int64_t total) : FProgress(progress), FTotal(total) {}

    // May throw TVxCancelled.
    void Passed(int64_t done)
    {
        if (FProgress && done - FLast >= TVxProgress::kChunk && done < FTotal) {
            FLast = done;
            FProgress->Report(done, FTotal, true);
        }
    }
    void Finished()
    {
        if (FProgress)
            FProgress->Report(FTotal, FTotal, true);
    }

private:
    TVxProgress *FProgress;
    int64_t FTotal;
    int64_t FLast = 0;
};
