#pragma once
// How long work of the engine tells how far it got, and how the user stops it.
//
// The loops that copy or scan large ranges (load, save, replace-all's rewrite, search, and
// the copies of block edits, inserting a file, undo and redo) call Report every few MiB with
// how much of the operation is done: values rise monotonically and the last call of an
// operation has done == total. An operation made of several copies reports as one, through
// TVxProgressSteps. `cancellable` says whether stopping here
// leaves everything exactly as before the operation; only then may Report throw TVxCancelled,
// which the operation passes on after undoing what it started. An implementation keeps the
// window alive (the main window repaints from here) and must not call back into the document.
//
// Cost: one virtual call per chunk; nothing when no progress is attached.
//
// Who calls: TVxDocument, TVxWorkCopy, TVxProgressSteps and the searcher through
// TVxDocument::Progress().

#include <cstdint>
#include <stdexcept>

class TVxCancelled : public std::runtime_error {
public:
    TVxCancelled() : std::runtime_error("cancelled") {}
};

class TVxProgress {
public:
    // Granularity of the copy loops.
    static constexpr int64_t kChunk = int64_t(8) << 20;

    virtual ~TVxProgress() = default;
    virtual void Report(int64_t done, int64_t total, bool cancellable) = 0;
};
