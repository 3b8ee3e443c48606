#include "TVxProgressSteps.h"

#include <algorithm>

TVxProgressSteps::TVxProgressSteps(TVxProgress *progress, int64_t total)
    : FProgress(progress), FTotal(std::max<int64_t>(total, 0))
{
}

void TVxProgressSteps::Advance(int64_t size)
{
    FStepStart += FStepSize;
    FStepSize = std::max<int64_t>(size, 0);
    FStepDone = 0;
}

TFileCopy::TObserver *TVxProgressSteps::Step(int64_t size)
{
    if (!FProgress)
        return nullptr;
    Advance(size);
    return this;
}

TVxProgress *TVxProgressSteps::SubOperation(int64_t size)
{
    if (!FProgress)
        return nullptr;
    Advance(size);
    return this;
}

void TVxProgressSteps::Copied(int64_t bytes)
{
    FStepDone = std::min(FStepSize, FStepDone + bytes);
    Emit(FStepStart + FStepDone);
}

void TVxProgressSteps::Report(int64_t done, int64_t total, bool)
{
    if (total <= 0)
        return;
    FStepDone = std::min(FStepSize, FStepSize * std::clamp<int64_t>(done, 0, total) / total);
    Emit(FStepStart + FStepDone);
}

void TVxProgressSteps::Finish()
{
    if (FProgress)
        Emit(FTotal);
}

void TVxProgressSteps::Emit(int64_t done)
{
    // Announced sizes are estimates: the values are kept monotone and inside the total,
    // and the final one is left to Finish.
    done = std::min(done, FTotal);
    if (done <= FReported)
        return;
    FReported = done;
    FProgress->Report(done, FTotal, FCancellable);
}
