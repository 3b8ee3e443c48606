#pragma once
// One long operation made of several copies, reported as one: the values that reach the
// progress rise monotonically from the first copy to the last and end at the operation's
// total, whatever the steps are.
//
// The operation states its total up front (the bytes all its copies move) and announces
// each copy with Step(size) just before it runs; the copy's observer then advances within
// [start of the step, start + size). A step that copies less than announced (a heap block,
// a flush with nothing to do) simply ends early: the next step starts where it was
// announced. A whole sub-operation (say, each member of a group undo) takes its own
// TVxProgressSteps whose progress is this one: SubOperation(size) maps its 0..total into
// the step.
//
// By default nothing here stops anything: every value goes out with cancellable == false,
// since the steps already done would have to be undone. An operation that can put back what
// its steps did (a rewrite in place that kept the old bytes) says so with SetCancellable, and
// then catches the TVxCancelled a report may throw. Others that can stop cleanly report on
// their own (load, replace-all's rewrite).
//
// Cost: with no progress attached Step returns nullptr, so the copies run unobserved; with
// one, one virtual call per kernel piece (TFileCopy::kObservedPiece) and at most one
// report per such piece.
//
// Who calls: TVxDocument around every block edit; TVxWorkCopy and TVxUndoStore announce
// their copies.

#include "TFileCopy.h"
#include "TVxProgress.h"

#include <cstdint>

class TVxProgressSteps final : public TVxProgress, private TFileCopy::TObserver {
public:
    // progress may be nullptr: then nothing is reported and Step returns nullptr.
    TVxProgressSteps(TVxProgress *progress, int64_t total);
    TVxProgressSteps(const TVxProgressSteps &) = delete;
    TVxProgressSteps &operator=(const TVxProgressSteps &) = delete;

    // The next copy, of `size` bytes; the previous step counts as complete. Returns the
    // observer to hand to TFileCopy, or nullptr when nobody listens.
    TFileCopy::TObserver *Step(int64_t size);
    // The next step is a whole operation of its own that reports to the result (nullptr
    // when nobody listens).
    TVxProgress *SubOperation(int64_t size);
    // The operation is complete: reports done == total (once).
    void Finish();
    // From now on reports go out as cancellable: the caller undoes its steps on TVxCancelled.
    void SetCancellable(bool value) { FCancellable = value; }

    // A sub-operation's report, mapped into the current step.
    void Report(int64_t done, int64_t total, bool cancellable) override;

    // Step on a steps pointer that may be null (callers that report nowhere).
    static TFileCopy::TObserver *Step(TVxProgressSteps *steps, int64_t size)
    {
        return steps ? steps->Step(size) : nullptr;
    }

private:
    void Copied(int64_t bytes) override;
    void Advance(int64_t size);
    void Emit(int64_t done);

    TVxProgress *FProgress;
    int64_t FTotal;
    int64_t FStepStart = 0; // where the current step begins
    int64_t FStepSize = 0;
    int64_t FStepDone = 0;  // bytes of the current step done
    int64_t FReported = -1; // last value sent
    bool FCancellable = false;
};
