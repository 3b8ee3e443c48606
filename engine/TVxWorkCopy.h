#pragma once
// The document's bytes: a private working copy in the temporary folder, seen through one
// cache window of 32768 bytes.
//
// Reading a byte is a bounds test and an index while the window covers it (ByteAt); a miss
// writes a dirty window back and reads 32 KiB centred on the offset. Single-byte edits
// happen inside the window only: an insert or delete there changes the window's length and
// FileSize by the same amount and leaves the file alone until the window is flushed.
//
// Invariants (checked by the tests against a plain model):
//  - clean window or none: the working copy's first FileSize bytes are the document and the
//    file is exactly FileSize bytes long;
//  - dirty window: the document is the file's bytes before CacheStart, then the window's
//    CacheSize bytes, then the file's bytes from CacheStart + 32768 on, cut at FileSize.
//
// Failures: every write is checked. FlushCache and ShiftTail are all-or-nothing: when they
// throw, the document (and a dirty window) is exactly as before the call.
//
// A full temporary folder does not lock the user in: when a reader moves the window and the
// dirty window cannot be written back, the window stays where it is ("pinned"), OnPinned
// fires once, and reads elsewhere are served from the file and the window without writing
// anything (a second, read-only buffer). Edits inside the pinned window, undo of them, and
// saving (CopyTo streams file and window together) keep working; an edit elsewhere throws.
// Every later miss tries the write-back again, and a success ends the pinned state.
//
// Without any usable temporary folder the object still exists, with no file: the empty
// document can be viewed, and whatever needs the file tries to create it and throws why not.
//
// Who calls: TVxDocument only; the view reads through TVxDocument.

#include "TTempFile.h"
#include "TVxProgress.h"
#include "TVxProgressSteps.h"
#include "TVxSplice.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TVxWorkCopy {
public:
    static constexpr int32_t kCacheSize = 32768;
    static constexpr int32_t kMaxFileSize = 2147483647;

    // Creates an empty working copy in the temporary folder. When that fails the copy has
    // no file and CreateError() says why; nothing throws until a file is needed.
    TVxWorkCopy();

    const std::string &CreateError() const { return FCreateError; }
    // Where CopyTo (not cancellable) and Rewrite (cancellable) report; nullptr: nowhere.
    void SetProgress(TVxProgress *progress) { FProgress = progress; }
    // Names the document in error messages of the working copy (the user's file, not the
    // temporary one).
    void SetLabel(const std::string &label);
    const TFileHandle &Handle() const { return FWork.Handle(); }
    bool Pinned() const { return FPinned; }
    // Fires when the window gets pinned, with the reason; not again until it was unpinned.
    std::function<void(const std::string &)> OnPinned;
    int32_t FileSize() const { return FFileSize; }
    int32_t CacheStart() const { return FCacheStart; }
    int32_t CacheSize() const { return static_cast<int32_t>(FCache.size()); }
    bool CacheDirty() const { return FCacheDirty; }

    // True when the 16 bytes from offset are resident.
    bool Covers(int32_t offset) const { return WindowHolds(offset, 16); }
    void LoadCache(int32_t offset);
    // The block edits below take `steps`, the operation they belong to (may be null), and
    // announce each copy they make in it (see TVxProgressSteps).
    void FlushCache(TVxProgressSteps *steps = nullptr);
    // The bytes a FlushCache would move: the file's remainder behind a window that changed
    // length (a same-size window is one write of 32 KiB and not counted).
    int64_t FlushBytes() const;
    // Marks the window empty without writing it (only after a flush, or when the document
    // is being replaced).
    void DropCache();

    // Byte at 0 <= offset < FileSize (the caller checks the bounds).
    uint8_t ByteAt(int32_t offset)
    {
        if (Covers(offset))
            return FCache[static_cast<size_t>(offset - FCacheStart)];
        return MissByteAt(offset);
    }
    // Up to count bytes from offset, never beyond FileSize.
    std::vector<uint8_t> ReadBytes(int32_t offset, int32_t count);
    // Copies up to count bytes from offset into buf and returns how many (never beyond
    // FileSize). Leaves the window where it is and writes nothing: the bytes come from the
    // window where it holds them and from the file around it. One pread per file part, so
    // scanners read large blocks at the speed of the page cache.
    int32_t ReadInto(int32_t offset, uint8_t *buf, int32_t count) const;

    // In-window single-byte edits; 0 <= offset < FileSize (InsertByte: <= FileSize).
    void SetByte(int32_t offset, uint8_t value);
    void InsertByte(int32_t offset, uint8_t value);
    void DeleteByte(int32_t offset);

    // Moves the bytes from offset to the end by delta (a negative delta removes the bytes
    // before offset, at most offset of them; a positive one opens a gap of undefined bytes).
    // Flushes first and leaves no window. On failure everything outside the removed range is
    // as before; with a negative delta the removed bytes may be overwritten and the caller,
    // who holds them, writes them back. Returns the shift actually applied.
    // Steps: the flush (FlushBytes), then the move of the tail (FileSize - offset bytes).
    int32_t ShiftTail(int32_t offset, int32_t delta, TVxProgressSteps *steps = nullptr);
    // Writes bytes over [offset, offset + count) of the document; needs a flushed window.
    // One step of count bytes.
    void WriteBlock(int32_t offset, const uint8_t *data, int32_t count, TVxProgressSteps *steps = nullptr);

    // Copies count bytes of src (from srcPos) over [offset, offset + count) of the document,
    // by the kernel; needs a flushed window, like WriteBlock. One step of count bytes.
    void CopyIn(const TFileHandle &src, int64_t srcPos, int32_t offset, int32_t count,
                TVxProgressSteps *steps = nullptr);

    // True when the window holds every document byte of [offset, offset + count).
    bool WindowHolds(int32_t offset, int32_t count) const
    {
        return FCacheStart >= 0 && FCacheStart <= offset &&
               int64_t(offset) + count <= int64_t(FCacheStart) + int64_t(FCache.size());
    }
    // Applies a list of splices (see TVxSplice) that all lie inside the window, by rebuilding
    // the window once: O(window + inserted bytes), no file I/O. When `removed` is given it
    // receives, per splice, a block with the OldCount bytes that splice replaced.
    void SpliceWindow(const TVxSplice *splices, size_t count, std::vector<std::unique_ptr<uint8_t[]>> *removed);
    // Applies a list of splices anywhere in the document in one sequential pass that writes
    // a new working copy, which then replaces the old one: O(document + splices) whatever
    // their number, where one tail shift per splice would be quadratic. Long unchanged
    // stretches are copied by the kernel. All-or-nothing: on failure the new file is deleted
    // and the document, window included, is as before (a dirty window may have been flushed).
    // Needs free space for a second copy in the temporary folder.
    void Rewrite(const TVxSplice *splices, size_t count, std::vector<std::unique_ptr<uint8_t[]>> *removed);

    // Replaces the document with a filled working copy of `size` bytes; the old working copy
    // is deleted and the window discarded unwritten.
    void Adopt(TTempFile &&work, int32_t size);
    // Copies the whole document into dst from position 0, streaming the file and a dirty
    // window together: nothing is written to the working copy, so it works with the
    // temporary folder full. Long stretches go through the kernel; a large document is
    // written past the page cache where that is the cheaper way (TDirectWriter).
    void CopyTo(TFileHandle &dst) const;
    // The document's bytes [offset, offset + count) into dst at dstPos, the same way.
    // The observer hears of the bytes copied (see TFileCopy).
    void CopyRangeTo(int32_t offset, int32_t count, TFileHandle &dst, int64_t dstPos,
                     TFileCopy::TObserver *observer = nullptr) const;

private:
    // CopyTo past the page cache (TDirectWriter); false, with nothing written, where the
    // file systems make that the worse way.
    bool CopyToDirect(TFileHandle &dst) const;
    // Length of the working copy file as the invariants define it.
    int64_t WorkLength() const;
    void FlushResized(TVxProgressSteps *steps);
    uint8_t MissByteAt(int32_t offset);
    // The window covers offset for an edit, or throws why it cannot move there.
    void RequireWindow(int32_t offset);
    // The working copy exists from here on, or this throws why it cannot.
    void EnsureFile();
    // A block edit works on the file: it exists, holds the whole document, no window.
    void BeginBlockEdit(TVxProgressSteps *steps);
    // Calls onFile(docPos, filePos, n) and onWindow(docPos, bytes, n) for the pieces that
    // make up the document's bytes [from, end), in order.
    template <typename TOnFile, typename TOnWindow>
    void ForEachPart(int64_t from, int64_t end, TOnFile onFile, TOnWindow onWindow) const;
    TTempFile NewFile() const;

    TTempFile FWork;
    TVxProgress *FProgress = nullptr;
    std::string FCreateError;
    std::string FLabel;
    bool FPinned = false;
    std::string FPinError;
    int FPinErrno = 0;
    std::vector<uint8_t> FPeek; // read-only view beside a pinned window
    int32_t FPeekStart = -1;
    int32_t FFileSize = 0;
    std::vector<uint8_t> FCache;
    int32_t FCacheStart = -1;
    bool FCacheDirty = false;
};
