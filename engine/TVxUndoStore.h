#pragma once
// Where undo records keep the bytes they removed or replaced.
//
// Small blocks stay on the heap. A block above the spill threshold (1 MiB), or one that would
// take the heap bytes of all live blocks above the memory cap (32 MiB), lives in a private
// scratch file of the engine instead, created like the working copy (TTempFile: unnamed where
// the file system allows it, so the system frees it however the process ends). Spilled
// bytes move by kernel copies: from the working copy when captured, back into it when
// restored. So an edit of 2 GiB costs two file copies and no memory, and the heap held by
// the history stays under the cap however many records exist.
//
// A TVxUndoBlock owns its bytes wherever they are and returns them to its store when it is
// destroyed; blocks move freely between lists (the history, and whatever keeps reverted
// records) as long as the store outlives them. The scratch file exists only while spilled
// blocks do; space of a block freed in the middle is handed back to the file system.
//
// Errors: Capture and Restore throw std::system_error (scratch file not creatable, disk
// full, read error). A failed Capture leaves no block behind; a failed Restore leaves the
// block as it was. Adopt never throws on I/O: when spilling fails, the block stays on the heap.
//
// Cost: Capture/Restore of n bytes is one pread/pwrite of n bytes on the heap path, one
// copy_file_range of n bytes when spilled. Bookkeeping is O(log live spilled blocks).
//
// Who calls: TVxDocument (every byte that reaches the history goes through here).

#include "TTempFile.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class TVxProgressSteps;
class TVxUndoStore;
class TVxWorkCopy;

class TVxUndoBlock {
public:
    TVxUndoBlock() = default;
    ~TVxUndoBlock();
    TVxUndoBlock(TVxUndoBlock &&other) noexcept;
    TVxUndoBlock &operator=(TVxUndoBlock &&other) noexcept;
    TVxUndoBlock(const TVxUndoBlock &) = delete;
    TVxUndoBlock &operator=(const TVxUndoBlock &) = delete;

    int32_t Size() const { return FSize; }
    bool Spilled() const { return FPos >= 0; }
    // The bytes when they are on the heap; nullptr when spilled (read them through the store).
    const uint8_t *Bytes() const { return FMem.get(); }

private:
    friend class TVxUndoStore;
    void Release() noexcept;

    TVxUndoStore *FStore = nullptr;
    std::unique_ptr<uint8_t[]> FMem;
    int64_t FPos = -1; // offset in the scratch file when spilled
    int32_t FSize = 0;
};

class TVxUndoStore {
public:
    static constexpr int32_t kSpillThreshold = 1 << 20;
    static constexpr int64_t kMemoryCap = int64_t(32) << 20;

    TVxUndoStore() = default;
    ~TVxUndoStore();
    TVxUndoStore(const TVxUndoStore &) = delete;
    TVxUndoStore &operator=(const TVxUndoStore &) = delete;

    // Names the document in error messages (never the scratch file).
    void SetLabel(const std::string &label) { FLabel = label; }

    // The document's bytes [offset, offset + count) as the working copy presents them (a dirty
    // window included; nothing is flushed). One step of count bytes in `steps` (may be null).
    TVxUndoBlock Capture(const TVxWorkCopy &work, int32_t offset, int32_t count, TVxProgressSteps *steps = nullptr);
    // Bytes already taken onto the heap (by a splice pass); spilled when over the cap.
    TVxUndoBlock Adopt(std::unique_ptr<uint8_t[]> bytes, int32_t count);
    // Writes the block over [offset, offset + Size()) of the document; the window must be
    // flushed (as for TVxWorkCopy::WriteBlock). One step of Size() bytes in `steps`.
    void Restore(const TVxUndoBlock &block, TVxWorkCopy &work, int32_t offset, TVxProgressSteps *steps = nullptr) const;
    // The block's bytes in memory: for small blocks and tests, not for spilled giants.
    std::vector<uint8_t> Read(const TVxUndoBlock &block) const;

    // The counting hook: heap bytes held by live blocks now and at most since ResetPeak.
    int64_t MemoryBytes() const { return FMemory; }
    int64_t PeakMemoryBytes() const { return FPeak; }
    void ResetPeak() { FPeak = FMemory; }
    // Bytes of live spilled blocks.
    int64_t SpilledBytes() const { return FSpilled; }
    bool HasScratchFile() const { return FFile.IsOpen(); }

    // Test seam: smaller limits make spilling testable with small documents.
    void SetLimits(int32_t spillThreshold, int64_t memoryCap);

private:
    friend class TVxUndoBlock;
    bool ShouldSpill(int64_t count) const;
    // Room for count bytes at the end of the scratch file (created on first use).
    int64_t Allocate(int64_t count);
    TVxUndoBlock Spilled(int64_t pos, int32_t count);
    TVxUndoBlock OnHeap(std::unique_ptr<uint8_t[]> bytes, int32_t count);
    void Free(const TVxUndoBlock &block) noexcept;

    TTempFile FFile;
    std::string FLabel;
    std::map<int64_t, int64_t> FLive; // spilled blocks: position -> size
    int64_t FEnd = 0;                 // end of the last live spilled block
    int64_t FMemory = 0;
    int64_t FPeak = 0;
    int64_t FSpilled = 0;
    int32_t FThreshold = kSpillThreshold;
    int64_t FCap = kMemoryCap;
};
