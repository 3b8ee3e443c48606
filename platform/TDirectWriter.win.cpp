#include "TDirectWriter.h"

#include "TFileFaults.h"
#include "TFileHandle.h"
#include "TWinError.h"

#include <cerrno>
#include <windows.h>

// Windows cannot change how an open handle writes: the writer opens the file a second time
// (ReOpenFile, so it is the very same file whatever its name) without the cache
// (FILE_FLAG_NO_BUFFERING) and overlapped, so that one block travels to the disk while the
// caller fills the other. The file system keeps the cache of the first handle consistent
// with those writes. The source's blocks are read into the buffer: a mapping of the working
// copy would save that copy but keep its pages in this process's working set.
namespace {
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

void FreeBlocks(void *p)
{
    if (p)
        ::VirtualFree(p, 0, MEM_RELEASE);
}

// Page-aligned, which covers every sector size up to kAlign.
void *AlignedBlocks()
{
    return ::VirtualAlloc(nullptr, 2 * TDirectWriter::kBlock, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

// The file system refuses unbuffered writes for this file or this alignment: the bytes go
// through the cache instead, as where the flag is refused on other systems.
bool Refused(DWORD err)
{
    return err == ERROR_INVALID_PARAMETER || err == ERROR_NOT_SUPPORTED || err == ERROR_INVALID_FUNCTION;
}

// Sectors larger than the alignment cannot be written from this buffer. Unknown sizes
// (older systems) are taken to fit; a refusal is still caught at the first write.
bool SectorsFit(HANDLE h)
{
    FILE_STORAGE_INFO storage{};
    if (!::GetFileInformationByHandleEx(h, FileStorageInfo, &storage, sizeof storage))
        return true;
    return storage.LogicalBytesPerSector <= TDirectWriter::kAlign &&
           storage.PhysicalBytesPerSectorForPerformance <= TDirectWriter::kAlign;
}

bool MarkForDeletion(HANDLE h, bool deleteIt)
{
    FILE_DISPOSITION_INFO disposition{static_cast<BOOLEAN>(deleteIt)};
    return ::SetFileInformationByHandle(h, FileDispositionInfo, &disposition, sizeof disposition) != 0;
}

// A second handle on the file of `h`, unbuffered and overlapped. A save's new file is marked
// for deletion until its rename, and such a file opens for nobody: the mark is lifted for
// the moment of the open and set again at once.
HANDLE ReopenUnbuffered(HANDLE h)
{
    FILE_STANDARD_INFO standard{};
    const bool pending =
        ::GetFileInformationByHandleEx(h, FileStandardInfo, &standard, sizeof standard) && standard.DeletePending;
    if (pending && !MarkForDeletion(h, false))
        return INVALID_HANDLE_VALUE;
    HANDLE direct = ::ReOpenFile(h, GENERIC_WRITE, kShareAll,
                                 FILE_FLAG_NO_BUFFERING | FILE_FLAG_WRITE_THROUGH | FILE_FLAG_OVERLAPPED);
    if (pending)
        MarkForDeletion(h, true);
    return direct;
}

OVERLAPPED At(int64_t pos, HANDLE event)
{
    OVERLAPPED ov{};
    ov.Offset = static_cast<DWORD>(static_cast<uint64_t>(pos));
    ov.OffsetHigh = static_cast<DWORD>(static_cast<uint64_t>(pos) >> 32);
    ov.hEvent = event;
    return ov;
}
} // namespace

// One write under way: each carries the unbuffered handle it goes through and the event
// that says when it is done.
struct TDirectWriter::TPending {
    HANDLE File = INVALID_HANDLE_VALUE;
    HANDLE Event = nullptr;
    OVERLAPPED Ov{};
    bool Busy = false;
    int64_t Pos = 0;
    size_t Count = 0;
    ~TPending()
    {
        if (Event)
            ::CloseHandle(Event);
    }
};

TDirectWriter::TDirectWriter(const TFileHandle &src, TFileHandle &dst, int64_t size)
    : FSrc(src), FDst(dst), FBuffer(nullptr, FreeBlocks)
{
    if (dst.Length() < size)
        dst.SetLength(size);
    if (!SectorsFit(dst.Fd()))
        return;
    FBuffer.reset(static_cast<uint8_t *>(AlignedBlocks()));
    if (!FBuffer)
        return;
    HANDLE direct = ReopenUnbuffered(dst.Fd());
    if (direct == INVALID_HANDLE_VALUE)
        return;
    FPending = std::make_unique<TPending[]>(2);
    bool events = true;
    for (int i = 0; i < 2; ++i) {
        FPending[i].File = direct;
        FPending[i].Event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        events = events && FPending[i].Event;
    }
    if (!events) {
        ::CloseHandle(direct);
        FPending.reset();
        return;
    }
    FContext = 1;
    FActive = true;
}

TDirectWriter::~TDirectWriter()
{
    // The buffers must not go while the system may still read them.
    for (int i = 0; i < 2 && FPending; ++i)
        if (FPending[i].Busy) {
            DWORD unused = 0;
            ::GetOverlappedResult(FPending[i].File, &FPending[i].Ov, &unused, TRUE);
            FPending[i].Busy = false;
        }
    if (FPending)
        ::CloseHandle(FPending[0].File);
    FPending.reset();
}

void TDirectWriter::Stop()
{
    // Later writes go through the cache; the unbuffered handle stays open for the writes
    // still under way and closes with the writer.
    FActive = false;
}

uint8_t *TDirectWriter::Buffer()
{
    if (FPending && FPending[FTurn].Busy)
        Reap(FTurn);
    return FBuffer.get() + size_t(FTurn) * kBlock;
}

void TDirectWriter::Write(int64_t pos, size_t count)
{
    TFileFaults::BeforeWrite(FDst.Fd());
    uint8_t *buf = FBuffer.get() + size_t(FTurn) * kBlock;
    const size_t aligned = count & ~(kAlign - 1);
    if (FActive && FContext && aligned == count) {
        TPending &p = FPending[FTurn];
        ::ResetEvent(p.Event);
        p.Ov = At(pos, p.Event);
        p.Pos = pos;
        p.Count = count;
        if (::WriteFile(p.File, buf, static_cast<DWORD>(count), nullptr, &p.Ov) ||
            ::GetLastError() == ERROR_IO_PENDING) {
            p.Busy = true;
            FTurn ^= 1;
            return;
        }
    }
    Finish(); // the last block, or a write refused at once: in order, and waited for
    WriteRestCached(buf, pos, WriteDirect(buf, pos, count), count);
}

void TDirectWriter::WriteRestCached(const uint8_t *buf, int64_t pos, size_t done, size_t count)
{
    if (done == count)
        return;
    // Refused after all, or short: the rest through the cache, which reports the real error.
    Stop();
    FDst.WriteAt(pos + static_cast<int64_t>(done), buf + done, count - done);
}

void TDirectWriter::Reap(int i)
{
    TPending &p = FPending[i];
    if (!p.Busy)
        return;
    DWORD put = 0;
    const bool ok = ::GetOverlappedResult(p.File, &p.Ov, &put, TRUE) != 0;
    const DWORD err = ok ? ERROR_SUCCESS : ::GetLastError();
    p.Busy = false;
    if (!ok && !Refused(err)) {
        errno = TWinError::ToErrno(err);
        FDst.Fail("WriteFile");
    }
    WriteRestCached(FBuffer.get() + size_t(i) * kBlock, p.Pos, ok ? size_t(put) : 0, p.Count);
}

void TDirectWriter::Finish()
{
    for (int i = 0; i < 2 && FPending; ++i)
        Reap(i);
}

void TDirectWriter::CopyFromSource(int64_t srcPos, int64_t pos, size_t count)
{
    uint8_t *buf = Buffer();
    FSrc.ReadExact(srcPos, buf, count);
    Write(pos, count);
}

size_t TDirectWriter::WriteDirect(const uint8_t *p, int64_t pos, size_t count)
{
    size_t done = 0;
    const size_t aligned = count & ~(kAlign - 1);
    while (FActive && done < aligned) {
        // Nothing else is under way here (Finish came first): the first write's event serves.
        TPending &slot = FPending[0];
        ::ResetEvent(slot.Event);
        OVERLAPPED ov = At(pos + static_cast<int64_t>(done), slot.Event);
        DWORD put = 0;
        bool ok = ::WriteFile(slot.File, p + done, static_cast<DWORD>(aligned - done), nullptr, &ov) != 0;
        if (ok || ::GetLastError() == ERROR_IO_PENDING)
            ok = ::GetOverlappedResult(slot.File, &ov, &put, TRUE) != 0;
        if (!ok) {
            const DWORD err = ::GetLastError();
            if (!Refused(err)) {
                errno = TWinError::ToErrno(err);
                FDst.Fail("WriteFile");
            }
        }
        done += put;
        // Refused after all or short (a full disk, an odd sector size): the rest goes through
        // the cache, which writes what fits and reports the real error.
        if (done < aligned)
            Stop();
    }
    return done;
}
