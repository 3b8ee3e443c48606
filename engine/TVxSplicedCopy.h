#pragma once
// One front-to-back pass that writes a document with a list of splices applied (see
// TVxSplice) into a new file: the unchanged stretches between the splices come from the
// source file, the splices' new bytes from their buffers, and, when asked, the bytes each
// splice replaces are captured on the way. Long unchanged stretches are copied by the
// kernel; short gaps between dense splices come through one read buffer refilled in order
// rather than one pread each, and everything written goes through one write buffer.
//
// Cost: O(source + new bytes), two 1 MiB buffers. Reports to the progress (cancellable:
// the caller only adopts the new file once the pass is complete) every TVxProgress::kChunk.
// Throws what the files throw; the destination is then the caller's to discard.
//
// Who calls: TVxWorkCopy::Rewrite.

#include "TFileHandle.h"
#include "TVxProgress.h"
#include "TVxSplice.h"

#include <cstdint>
#include <memory>
#include <vector>

class TVxSplicedCopy {
public:
    // src holds the document's srcSize bytes from position 0; dst receives the result from 0.
    TVxSplicedCopy(const TFileHandle &src, int64_t srcSize, TFileHandle &dst, TVxProgress *progress);
    TVxSplicedCopy(const TVxSplicedCopy &) = delete;
    TVxSplicedCopy &operator=(const TVxSplicedCopy &) = delete;

    // Writes the whole result and flushes the write buffer. With `capture`, returns one block
    // per splice holding the OldCount bytes it replaced; otherwise an empty list.
    std::vector<std::unique_ptr<uint8_t[]>> Run(const TVxSplice *splices, size_t count, bool capture);

    static constexpr int64_t kBufferSize = 1 << 20;

private:
    // The source's bytes [from, from + n) into the result, or into `capture` when given.
    void Take(int64_t from, int64_t n, uint8_t *capture);
    // Makes the read buffer hold `from` (refilling it from there when it does not).
    void Buffer(int64_t from);
    void Put(const uint8_t *p, size_t n);
    // Kernel copy of a long stretch of the source; keeps the order of everything written.
    void CopyFromSource(int64_t from, int64_t n);
    void Flush();
    void Report(int64_t at);

    const TFileHandle &FSrc;
    int64_t FSrcSize;
    TFileHandle &FDst;
    TVxProgress *FProgress;
    std::vector<uint8_t> FRead;
    int64_t FReadStart = 0;
    int64_t FReadEnd = 0;
    std::vector<uint8_t> FWrite;
    size_t FFill = 0;
    int64_t FDstPos = 0;
    int64_t FReported = 0;
};
