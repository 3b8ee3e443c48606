#include "TVxWorkCopy.h"

#include "TDirectWriter.h"
#include "TFileCopy.h"
#include "TVxSplicedCopy.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

TVxWorkCopy::TVxWorkCopy() : FCache(kCacheSize)
{
    try {
        FWork = TTempFile::Create();
    } catch (const std::exception &e) {
        FCreateError = e.what();
    }
    LoadCache(0);
}

void TVxWorkCopy::SetLabel(const std::string &label)
{
    FLabel = label;
    FWork.Handle().SetPath(FLabel);
}

TTempFile TVxWorkCopy::NewFile() const
{
    TTempFile t = TTempFile::Create();
    t.Handle().SetPath(FLabel);
    return t;
}

void TVxWorkCopy::EnsureFile()
{
    if (FWork.IsOpen())
        return;
    FWork = NewFile();
    FCreateError.clear();
}

int64_t TVxWorkCopy::WorkLength() const
{
    // Only in-window edits make FileSize and the file's length differ, and they change the
    // window's length by the same amount.
    return int64_t(FFileSize) - (FCacheDirty ? int64_t(FCache.size()) - kCacheSize : 0);
}

void TVxWorkCopy::LoadCache(int32_t offset)
{
    if (Covers(offset))
        return;
    if (FCacheDirty) {
        try {
            FlushCache();
        } catch (const std::system_error &e) {
            // Readers must not fail because the temporary folder is full: the window stays,
            // MissByteAt serves the rest, and the user is told once.
            if (!FPinned) {
                FPinned = true;
                FPinError = e.what();
                FPinErrno = e.code().value();
                if (OnPinned)
                    OnPinned(FPinError);
            }
            return;
        }
    }
    int32_t start = std::max<int32_t>(0, offset - kCacheSize / 2);
    // Past the file's end the buffer keeps old bytes; nobody reads beyond FileSize.
    if (FWork.IsOpen())
        FWork.Handle().ReadAt(start, FCache.data(), kCacheSize);
    FCacheStart = start;
}

uint8_t TVxWorkCopy::MissByteAt(int32_t offset)
{
    if (FPinned && FPeekStart >= 0 && FPeekStart <= offset && offset - FPeekStart < int32_t(FPeek.size()))
        return FPeek[static_cast<size_t>(offset - FPeekStart)];
    LoadCache(offset);
    if (Covers(offset))
        return FCache[static_cast<size_t>(offset - FCacheStart)];
    const int32_t start = std::max<int32_t>(0, offset - kCacheSize / 2);
    FPeek.resize(kCacheSize);
    FPeek.resize(static_cast<size_t>(ReadInto(start, FPeek.data(), kCacheSize)));
    FPeekStart = start;
    return offset - start < int32_t(FPeek.size()) ? FPeek[static_cast<size_t>(offset - start)] : 0;
}

void TVxWorkCopy::RequireWindow(int32_t offset)
{
    LoadCache(offset);
    if (!Covers(offset))
        throw std::system_error(FPinErrno ? FPinErrno : EIO, std::generic_category(), FLabel);
    FPeekStart = -1; // the edit changes what it shows
}

int64_t TVxWorkCopy::FlushBytes() const
{
    if (!FCacheDirty || FCache.size() == size_t(kCacheSize))
        return 0;
    return std::max<int64_t>(0, WorkLength() - (int64_t(FCacheStart) + kCacheSize));
}

void TVxWorkCopy::FlushCache(TVxProgressSteps *steps)
{
    if (!FCacheDirty)
        return;
    EnsureFile();
    FPeekStart = -1;
    if (FCache.size() == size_t(kCacheSize)) {
        int64_t n = std::min<int64_t>(kCacheSize, WorkLength() - FCacheStart);
        if (n > 0)
            FWork.Handle().WriteAt(FCacheStart, FCache.data(), static_cast<size_t>(n));
        FCacheDirty = false;
    } else {
        FlushResized(steps);
    }
    FPinned = false;
}

// The window changed length: the file's bytes after the window's original extent move by
// the difference, in place, then the window is written over its new extent.
void TVxWorkCopy::FlushResized(TVxProgressSteps *steps)
{
    TFileHandle &f = FWork.Handle();
    const int64_t oldLen = WorkLength();
    const int64_t delta = int64_t(FCache.size()) - kCacheSize;
    const int64_t tailFrom = int64_t(FCacheStart) + kCacheSize;
    const int64_t tailCount = std::max<int64_t>(0, oldLen - tailFrom);
    const int64_t windowBytes = int64_t(FFileSize) - FCacheStart - tailCount;

    if (FFileSize > oldLen)
        f.Reserve(oldLen, FFileSize - oldLen);
    try {
        TFileCopy::Move(f, tailFrom, tailFrom + delta, tailCount, TVxProgressSteps::Step(steps, tailCount));
    } catch (...) {
        if (FFileSize > oldLen)
            f.SetLength(oldLen);
        throw;
    }
    try {
        // The file's bytes under the window's old extent are superseded by the window, so a
        // failed write there needs no repair; only the tail has to go back.
        if (windowBytes > 0)
            f.WriteAt(FCacheStart, FCache.data(), static_cast<size_t>(windowBytes));
        f.SetLength(FFileSize);
    } catch (...) {
        TFileCopy::Move(f, tailFrom + delta, tailFrom, tailCount);
        f.SetLength(oldLen);
        throw;
    }
    // Back at 32768 bytes the buffer's end no longer matches the file; a window kept here
    // would later write those stale bytes back. The next reader loads a fresh one.
    DropCache();
}

void TVxWorkCopy::BeginBlockEdit(TVxProgressSteps *steps)
{
    // Even an empty document needs its file once a block edit writes to it.
    EnsureFile();
    FlushCache(steps);
    DropCache();
}

void TVxWorkCopy::DropCache()
{
    FCacheStart = -1;
    FPeekStart = -1;
    FCacheDirty = false;
    if (FCache.size() != size_t(kCacheSize)) {
        FCache.resize(kCacheSize);
        FCache.shrink_to_fit();
    }
}

std::vector<uint8_t> TVxWorkCopy::ReadBytes(int32_t offset, int32_t count)
{
    std::vector<uint8_t> out;
    if (offset < 0 || count <= 0 || offset >= FFileSize)
        return out;
    out.resize(static_cast<size_t>(std::min<int64_t>(count, int64_t(FFileSize) - offset)));
    ReadInto(offset, out.data(), static_cast<int32_t>(out.size()));
    return out;
}

void TVxWorkCopy::SetByte(int32_t offset, uint8_t value)
{
    RequireWindow(offset);
    FCache[static_cast<size_t>(offset - FCacheStart)] = value;
    FCacheDirty = true;
}

void TVxWorkCopy::InsertByte(int32_t offset, uint8_t value)
{
    RequireWindow(offset);
    FCache.insert(FCache.begin() + (offset - FCacheStart), value);
    FCacheDirty = true;
    ++FFileSize;
}

void TVxWorkCopy::DeleteByte(int32_t offset)
{
    RequireWindow(offset);
    FCache.erase(FCache.begin() + (offset - FCacheStart));
    FCacheDirty = true;
    --FFileSize;
}

int32_t TVxWorkCopy::ShiftTail(int32_t offset, int32_t delta, TVxProgressSteps *steps)
{
    if (delta == 0)
        return 0;
    BeginBlockEdit(steps);
    int32_t d = int64_t(offset) + delta < 0 ? -offset : delta;
    TFileHandle &f = FWork.Handle();
    const int64_t oldLen = FFileSize;
    const int64_t count = std::max<int64_t>(0, oldLen - offset);
    TFileCopy::TObserver *observer = TVxProgressSteps::Step(steps, count);
    if (d > 0) {
        // Reserving first makes a full disk fail here, before any byte has moved.
        f.Reserve(oldLen, d);
        try {
            TFileCopy::Move(f, offset, int64_t(offset) + d, count, observer);
        } catch (...) {
            f.SetLength(oldLen);
            throw;
        }
    } else {
        TFileCopy::Move(f, offset, int64_t(offset) + d, count, observer);
        try {
            f.SetLength(oldLen + d);
        } catch (...) {
            TFileCopy::Move(f, int64_t(offset) + d, offset, count);
            throw;
        }
    }
    FFileSize = static_cast<int32_t>(oldLen + d);
    return d;
}

void TVxWorkCopy::WriteBlock(int32_t offset, const uint8_t *data, int32_t count, TVxProgressSteps *steps)
{
    BeginBlockEdit(steps);
    TFileCopy::TObserver *observer = TVxProgressSteps::Step(steps, count);
    if (!observer) {
        if (count > 0)
            FWork.Handle().WriteAt(offset, data, static_cast<size_t>(count));
        return;
    }
    for (int64_t done = 0; done < count;) {
        const int64_t n = std::min<int64_t>(TFileCopy::kObservedPiece, count - done);
        FWork.Handle().WriteAt(offset + done, data + done, static_cast<size_t>(n));
        observer->Copied(n);
        done += n;
    }
}

void TVxWorkCopy::CopyIn(const TFileHandle &src, int64_t srcPos, int32_t offset, int32_t count,
                         TVxProgressSteps *steps)
{
    BeginBlockEdit(steps);
    TFileCopy::TObserver *observer = TVxProgressSteps::Step(steps, count);
    if (count > 0)
        TFileCopy::Copy(src, srcPos, FWork.Handle(), offset, count, observer);
}

void TVxWorkCopy::Adopt(TTempFile &&work, int32_t size)
{
    FWork = std::move(work);
    FWork.Handle().SetPath(FLabel);
    FCreateError.clear();
    FFileSize = size;
    FPinned = false;
    DropCache();
}

void TVxWorkCopy::CopyTo(TFileHandle &dst) const
{
    if (FFileSize >= TDirectWriter::MinSize() && CopyToDirect(dst))
        return;
    if (!FProgress) {
        CopyRangeTo(0, FFileSize, dst, 0);
        return;
    }
    for (int64_t pos = 0; pos < FFileSize; pos += TVxProgress::kChunk) {
        const int64_t n = std::min<int64_t>(TVxProgress::kChunk, FFileSize - pos);
        CopyRangeTo(static_cast<int32_t>(pos), static_cast<int32_t>(n), dst, pos);
        FProgress->Report(pos + n, FFileSize, false);
    }
}

bool TVxWorkCopy::CopyToDirect(TFileHandle &dst) const
{
    if (!FWork.Handle().IsOpen())
        return false;
    TDirectWriter direct(FWork.Handle(), dst, FFileSize);
    if (!direct.Active())
        return false;
    for (int64_t pos = 0; pos < FFileSize; pos += int64_t(TDirectWriter::kBlock)) {
        const auto n = static_cast<int32_t>(std::min<int64_t>(TDirectWriter::kBlock, FFileSize - pos));
        // A block that is one stretch of the file goes from there; one that meets the dirty
        // window is assembled in the buffer.
        int parts = 0;
        int64_t from = -1;
        ForEachPart(pos, pos + n, [&](int64_t, int64_t filePos, int64_t) { ++parts, from = filePos; },
                    [&](int64_t, const uint8_t *, int64_t) { parts += 2; });
        if (parts == 1) {
            direct.CopyFromSource(from, pos, size_t(n));
        } else {
            ReadInto(static_cast<int32_t>(pos), direct.Buffer(), n);
            direct.Write(pos, size_t(n));
        }
        if (FProgress)
            FProgress->Report(pos + n, FFileSize, false);
    }
    direct.Finish();
    return true;
}

void TVxWorkCopy::CopyRangeTo(int32_t offset, int32_t count, TFileHandle &dst, int64_t dstPos,
                              TFileCopy::TObserver *observer) const
{
    const TFileHandle &f = FWork.Handle();
    const int64_t shift = dstPos - offset;
    ForEachPart(offset, int64_t(offset) + count, [&](int64_t pos, int64_t filePos, int64_t n) {
        TFileCopy::Copy(f, filePos, dst, pos + shift, n, observer);
    }, [&](int64_t pos, const uint8_t *bytes, int64_t n) {
        dst.WriteAt(pos + shift, bytes, static_cast<size_t>(n));
        if (observer)
            observer->Copied(n);
    });
}

// The document as the invariants of the class comment lay it out: with a clean window (or
// none) the file itself; with a dirty one the file before the window, the window, then the
// file shifted by the window's change of length.
template <typename TOnFile, typename TOnWindow>
void TVxWorkCopy::ForEachPart(int64_t from, int64_t end, TOnFile onFile, TOnWindow onWindow) const
{
    if (from >= end)
        return;
    if (!FCacheDirty || FCacheStart < 0) {
        onFile(from, from, end - from);
        return;
    }
    const int64_t winStart = FCacheStart;
    const int64_t winEnd = std::min<int64_t>(winStart + int64_t(FCache.size()), FFileSize);
    const int64_t shift = int64_t(FCache.size()) - kCacheSize;
    int64_t pos = from;
    if (pos < winStart) {
        const int64_t n = std::min(end, winStart) - pos;
        onFile(pos, pos, n);
        pos += n;
    }
    if (pos < end && pos < winEnd) {
        const int64_t n = std::min(end, winEnd) - pos;
        onWindow(pos, FCache.data() + (pos - winStart), n);
        pos += n;
    }
    if (pos < end)
        onFile(pos, pos - shift, end - pos);
}

int32_t TVxWorkCopy::ReadInto(int32_t offset, uint8_t *buf, int32_t count) const
{
    if (offset < 0 || count <= 0 || offset >= FFileSize)
        return 0;
    count = static_cast<int32_t>(std::min<int64_t>(count, int64_t(FFileSize) - offset));
    const int64_t end = int64_t(offset) + count;
    const TFileHandle &f = FWork.Handle();
    if (WindowHolds(offset, count)) {
        std::memcpy(buf, FCache.data() + (offset - FCacheStart), static_cast<size_t>(count));
        return count;
    }
    ForEachPart(offset, end, [&](int64_t pos, int64_t filePos, int64_t n) {
        f.ReadExact(filePos, buf + (pos - offset), static_cast<size_t>(n));
    }, [&](int64_t pos, const uint8_t *bytes, int64_t n) {
        std::memcpy(buf + (pos - offset), bytes, static_cast<size_t>(n));
    });
    return count;
}

void TVxWorkCopy::SpliceWindow(const TVxSplice *splices, size_t count,
                               std::vector<std::unique_ptr<uint8_t[]>> *removed)
{
    int64_t growth = 0;
    for (size_t i = 0; i < count; ++i)
        growth += int64_t(splices[i].NewCount) - splices[i].OldCount;
    std::vector<std::unique_ptr<uint8_t[]>> taken;
    taken.reserve(removed ? count : 0);
    std::vector<uint8_t> next;
    next.reserve(static_cast<size_t>(int64_t(FCache.size()) + std::max<int64_t>(growth, 0)));
    size_t pos = 0;
    for (size_t i = 0; i < count; ++i) {
        const TVxSplice &s = splices[i];
        const size_t at = static_cast<size_t>(s.Offset - FCacheStart);
        next.insert(next.end(), FCache.begin() + static_cast<std::ptrdiff_t>(pos),
                    FCache.begin() + static_cast<std::ptrdiff_t>(at));
        if (removed) {
            taken.push_back(std::make_unique<uint8_t[]>(static_cast<size_t>(s.OldCount)));
            if (s.OldCount > 0)
                std::memcpy(taken.back().get(), FCache.data() + at, static_cast<size_t>(s.OldCount));
        }
        if (s.NewCount > 0)
            next.insert(next.end(), s.Data, s.Data + s.NewCount);
        pos = at + static_cast<size_t>(s.OldCount);
    }
    next.insert(next.end(), FCache.begin() + static_cast<std::ptrdiff_t>(pos), FCache.end());
    // Nothing below can fail: the document changes only now.
    FCache.swap(next);
    FCacheDirty = true;
    FPeekStart = -1;
    FFileSize = static_cast<int32_t>(FFileSize + growth);
    if (removed)
        removed->swap(taken);
}

void TVxWorkCopy::Rewrite(const TVxSplice *splices, size_t count, std::vector<std::unique_ptr<uint8_t[]>> *removed)
{
    int64_t newSize = FFileSize;
    for (size_t i = 0; i < count; ++i)
        newSize += int64_t(splices[i].NewCount) - splices[i].OldCount;
    // From here on the file is the document, so it can be read (and kernel-copied) directly.
    FlushCache();
    TTempFile out = NewFile();
    // A full disk fails here, before anything was written.
    out.Handle().Reserve(0, newSize);
    // Stopping is harmless until Adopt: the new file is simply deleted.
    auto taken = TVxSplicedCopy(FWork.Handle(), FFileSize, out.Handle(), FProgress).Run(splices, count, removed != nullptr);
    if (FProgress)
        FProgress->Report(FFileSize, FFileSize, false);
    out.Handle().SetLength(newSize);
    if (removed)
        removed->swap(taken);
    Adopt(std::move(out), static_cast<int32_t>(newSize));
}
