#pragma once
// Computes the chosen checksums over a range of the document in one sequential read.
//
// The calling thread reads the range through TVxDocument::ReadInto in blocks of kBlock bytes
// and reports progress after each; one worker thread (std::thread) feeds the blocks to the
// checksums meanwhile, so reading block N+1 overlaps computing block N. Only the worker
// touches the checksums and only the calling thread the document: the progress report may
// repaint the window, which reads the document.
//
// Progress: Report(done, count, cancellable = true) after every block; a TVxCancelled thrown
// from it stops the worker and passes on, with nothing computed kept. Nothing is written:
// the document must only not change meanwhile (the program runs it in the busy state).
// Errors (a document shorter than the range, a crypto library's failure in the worker)
// throw std::runtime_error on the calling thread.
//
// Cost: two blocks of memory; the time of the slowest of reading and computing.
// Who calls: the checksum dialog of the program, hexbench.

#include "TVxChecksumSet.h"
#include "TVxDocument.h"

#include <cstdint>
#include <vector>

class TVxProgress;

class TVxChecksumRunner {
public:
    static constexpr int32_t kBlock = 1 << 20;

    // The checksums of the bytes [offset, offset + count) of `doc` (an empty range gives the
    // values of no data), in the dialog's order.
    static std::vector<TVxChecksumResult> Run(const TVxDocument &doc, int64_t offset, int64_t count,
                                              const std::vector<TVxChecksum> &kinds, TVxProgress *progress);
};
