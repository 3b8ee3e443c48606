#pragma once
// Writes a large file past the page cache (O_DIRECT), from one aligned buffer.
//
// Why: a save writes a whole new file that nobody reads soon. Through the page cache every
// byte of it first needs a fresh cache page, and on machines whose memory is handed back to
// a hypervisor once free (balloon drivers), fresh pages are what costs: right after a load
// has taken a gigabyte of them, a buffered save of that gigabyte measured three times the
// time of the same copy from a warm cache. Written directly, the bytes go from one reused
// buffer to the disk, the working copy stays in the cache, and the save costs the disk's
// time; the fsync that follows has little left to do. Bytes that stand in the source file
// at an aligned position go to the disk straight from the source's cache pages (mapped,
// never touched by this process, and unmapped again after each block so that the process's
// memory stays flat), without a copy through the buffer.
//
// Not used where the kernel can share extents between the files (the copy then writes
// nothing), nor where the file system refuses direct writes: Active() is false and the
// caller copies as before. A file system that accepts the flag but refuses the first write
// is handled the same way, without losing a byte: the writer falls back to buffered writes.
//
// Writes go through the file layer's fault seam (one BeforeWrite per Write). Errors throw
// std::system_error with the file's name, as TFileHandle does. The flag is cleared again
// when the writer is destroyed, so the handle is as before for later writes and the fsync.
//
// Blocks from the buffers are written asynchronously (the kernel's native asynchronous I/O,
// no thread): while one is on its way to the disk the caller fills the other.
//
// On Windows the writer opens the same file a second time (ReOpenFile) unbuffered and
// overlapped (FILE_FLAG_NO_BUFFERING, FILE_FLAG_WRITE_THROUGH); the handle it was given is
// left as it is, and the source's blocks are read into the buffer instead of mapped.
//
// Cost: 2 * kBlock bytes of memory and a read-only mapping of the source (address space only)
// while it lives.
// Who calls: TVxWorkCopy::CopyTo for documents of at least MinSize() bytes.

#include <cstddef>
#include <cstdint>
#include <memory>

class TFileHandle;

class TDirectWriter {
public:
    static constexpr size_t kBlock = size_t(8) << 20;
    // Below this the page cache costs less than waiting for the disk on every block.
    static constexpr int64_t kMinSize = int64_t(64) << 20;
    // The size from which documents are written this way: kMinSize, unless a test lowers
    // it to go through a save of this kind step by step without writing 64 MiB each time.
    static int64_t MinSize() { return FMinSize; }
    static void SetMinSize(int64_t bytes) { FMinSize = bytes; }
    // Offsets, lengths and the buffer are aligned to this; it covers 512- and 4096-byte
    // logical blocks.
    static constexpr size_t kAlign = 4096;

    // src is where the bytes come from, dst the file written, size the length dst will have
    // (a shorter dst is lengthened at once: writes past the end would wait for themselves).
    // Neither file changes length otherwise while the writer lives.
    TDirectWriter(const TFileHandle &src, TFileHandle &dst, int64_t size);
    ~TDirectWriter();
    TDirectWriter(const TDirectWriter &) = delete;
    TDirectWriter &operator=(const TDirectWriter &) = delete;

    bool Active() const { return FActive; }
    // kBlock bytes, aligned for direct writes: the buffer whose write finished longest ago
    // (two take turns, so the next block is read while the last one is being written).
    uint8_t *Buffer();
    // Writes Buffer()[0, count) at pos (a multiple of kAlign while Active) and returns only
    // when every byte is written; a count that is not a multiple of kAlign ends the direct
    // writing (its tail goes through the cache), so it belongs to the last block.
    void Write(int64_t pos, size_t count);
    // Writes count (<= kBlock) bytes of the source from srcPos at pos, the same way.
    void CopyFromSource(int64_t srcPos, int64_t pos, size_t count);
    // Waits for the writes still under way; throws what failed. Call it before the file is
    // flushed; the destructor only waits.
    void Finish();

private:
    static inline int64_t FMinSize = kMinSize;
    struct TPending;
    void Stop();
    // Waits for the write of buffer i, finishing it through the cache where the direct write
    // fell short; throws on failure.
    void Reap(int i);
    // Writes the aligned head of [data, data + count) at pos directly and returns how much
    // it wrote; anything short of the head ends the direct writing.
    size_t WriteDirect(const uint8_t *data, int64_t pos, size_t count);
    // Ends the direct writing when done < count and writes the rest of [buf, buf + count)
    // at pos through the cache.
    void WriteRestCached(const uint8_t *buf, int64_t pos, size_t done, size_t count);

    const TFileHandle &FSrc;
    TFileHandle &FDst;
    bool FActive = false;
    std::unique_ptr<uint8_t, void (*)(void *)> FBuffer; // both buffers, one after the other
    int FTurn = 0;
    unsigned long FContext = 0; // asynchronous writes; 0: every write waits for itself
    std::unique_ptr<TPending[]> FPending;
    const uint8_t *FMap = nullptr;
    int64_t FMapLength = 0;
};
