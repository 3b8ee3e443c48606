#include "TVxWorkCopy.h"

#include "TFileCopy.h"

#include <algorithm>
#include <cstring>

TVxWorkCopy::TVxWorkCopy() : FWork(TTempFile::Create()), FCache(kCacheSize)
{
    LoadCache(0);
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
    FlushCache();
    int32_t start = std::max<int32_t>(0, offset - kCacheSize / 2);
    // Past the file's end the buffer keeps old bytes; nobody reads beyond FileSize.
    FWork.Handle().ReadAt(start, FCache.data(), kCacheSize);
    FCacheStart = start;
}

void TVxWorkCopy::FlushCache()
{
    if (!FCacheDirty)
        return;
    if (FCache.size() == size_t(kCacheSize)) {
        int64_t n = std::min<int64_t>(kCacheSize, WorkLength() - FCacheStart);
        if (n > 0)
            FWork.Handle().WriteAt(FCacheStart, FCache.data(), static_cast<size_t>(n));
        FCacheDirty = false;
    } else {
        FlushResized();
    }
}

// The window changed length: the file's bytes after the window's original extent move by
// the difference, in place, then the window is written over its new extent.
void TVxWorkCopy::FlushResized()
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
        TFileCopy::Move(f, tailFrom, tailFrom + delta, tailCount);
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

void TVxWorkCopy::DropCache()
{
    FCacheStart = -1;
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
    count = static_cast<int32_t>(std::min<int64_t>(count, int64_t(FFileSize) - offset));
    out.resize(static_cast<size_t>(count));
    if (count > 2 * kCacheSize) {
        // Large ranges come straight from the file rather than window by window.
        FlushCache();
        FWork.Handle().ReadExact(offset, out.data(), out.size());
        return out;
    }
    int32_t done = 0;
    while (done < count) {
        int32_t pos = offset + done;
        LoadCache(pos);
        int32_t avail = std::min(FCacheStart + CacheSize() - pos, count - done);
        std::memcpy(out.data() + done, FCache.data() + (pos - FCacheStart), static_cast<size_t>(avail));
        done += avail;
    }
    return out;
}

void TVxWorkCopy::SetByte(int32_t offset, uint8_t value)
{
    LoadCache(offset);
    FCache[static_cast<size_t>(offset - FCacheStart)] = value;
    FCacheDirty = true;
}

void TVxWorkCopy::InsertByte(int32_t offset, uint8_t value)
{
    LoadCache(offset);
    FCache.insert(FCache.begin() + (offset - FCacheStart), value);
    FCacheDirty = true;
    ++FFileSize;
}

void TVxWorkCopy::DeleteByte(int32_t offset)
{
    LoadCache(offset);
    FCache.erase(FCache.begin() + (offset - FCacheStart));
    FCacheDirty = true;
    --FFileSize;
}

int32_t TVxWorkCopy::ShiftTail(int32_t offset, int32_t delta)
{
    if (delta == 0)
        return 0;
    FlushCache();
    FCacheStart = -1;
    int32_t d = int64_t(offset) + delta < 0 ? -offset : delta;
    TFileHandle &f = FWork.Handle();
    const int64_t oldLen = FFileSize;
    const int64_t count = std::max<int64_t>(0, oldLen - offset);
    if (d > 0) {
        // Reserving first makes a full disk fail here, before any byte has moved.
        f.Reserve(oldLen, d);
        try {
            TFileCopy::Move(f, offset, int64_t(offset) + d, count);
        } catch (...) {
            f.SetLength(oldLen);
            throw;
        }
    } else {
        TFileCopy::Move(f, offset, int64_t(offset) + d, count);
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

void TVxWorkCopy::WriteBlock(int32_t offset, const uint8_t *data, int32_t count)
{
    FlushCache();
    FCacheStart = -1;
    if (count > 0)
        FWork.Handle().WriteAt(offset, data, static_cast<size_t>(count));
}

void TVxWorkCopy::CopyIn(const TFileHandle &src, int32_t offset, int32_t count)
{
    FlushCache();
    FCacheStart = -1;
    if (count > 0)
        TFileCopy::Copy(src, 0, FWork.Handle(), offset, count);
}

void TVxWorkCopy::Adopt(TTempFile &&work, int32_t size)
{
    FWork = std::move(work);
    FFileSize = size;
    DropCache();
}

void TVxWorkCopy::CopyTo(TFileHandle &dst)
{
    FlushCache();
    TFileCopy::Copy(FWork.Handle(), 0, dst, 0, FFileSize);
}
