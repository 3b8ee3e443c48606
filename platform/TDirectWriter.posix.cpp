#include "TDirectWriter.h"

#include "TFileFaults.h"
#include "TFileHandle.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <linux/aio_abi.h>
#include <sys/syscall.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace {
// File systems whose copy_file_range shares extents instead of copying bytes.
bool SharesExtents(long type)
{
    switch (static_cast<unsigned long>(type)) {
    case 0x9123683EUL: // btrfs
    case 0x58465342UL: // XFS
    case 0xCA451A4EUL: // bcachefs
    case 0x7461636FUL: // OCFS2
    case 0x6969UL:     // NFS: the server copies
    case 0xFE534D42UL: // SMB2: the server copies
    case 0xFF534D42UL: // CIFS
        return true;
    default:
        return false;
    }
}

bool SameFileSystemSharing(int src, int dst)
{
    struct stat a{}, b{};
    struct statfs fs{};
    if (::fstat(src, &a) != 0 || ::fstat(dst, &b) != 0 || ::fstatfs(dst, &fs) != 0)
        return true; // unknown: leave the copy to the kernel
    return a.st_dev == b.st_dev && SharesExtents(fs.f_type);
}

void *AlignedBlocks()
{
    void *p = nullptr;
    if (::posix_memalign(&p, TDirectWriter::kAlign, 2 * TDirectWriter::kBlock) != 0)
        return nullptr;
    return p;
}
} // namespace

struct TDirectWriter::TPending {
    iocb Cb{};
    bool Busy = false;
    int64_t Pos = 0;
    size_t Count = 0; // the whole block, its unaligned tail included
};

TDirectWriter::TDirectWriter(const TFileHandle &src, TFileHandle &dst, int64_t size)
    : FSrc(src), FDst(dst), FBuffer(nullptr, std::free)
{
    if (SameFileSystemSharing(src.Fd(), dst.Fd()))
        return;
    if (dst.Length() < size)
        dst.SetLength(size);
    const int flags = ::fcntl(dst.Fd(), F_GETFL);
    if (flags < 0 || ::fcntl(dst.Fd(), F_SETFL, flags | O_DIRECT) != 0)
        return;
    FBuffer.reset(static_cast<uint8_t *>(AlignedBlocks()));
    FActive = FBuffer != nullptr;
    if (!FActive) {
        Stop();
        return;
    }
    FPending = std::make_unique<TPending[]>(2);
    aio_context_t ctx = 0;
    if (::syscall(SYS_io_setup, 2, &ctx) == 0)
        FContext = ctx;
    const int64_t length = src.Length();
    void *map = length > 0 ? ::mmap(nullptr, size_t(length), PROT_READ, MAP_SHARED, src.Fd(), 0) : MAP_FAILED;
    if (map != MAP_FAILED) {
        FMap = static_cast<const uint8_t *>(map);
        FMapLength = length;
    }
}

TDirectWriter::~TDirectWriter()
{
    // The buffers must not go while the kernel may still read them.
    for (int i = 0; i < 2 && FPending; ++i)
        while (FPending[i].Busy) {
            io_event ev{};
            if (::syscall(SYS_io_getevents, FContext, 1, 1, &ev, nullptr) == 1)
                FPending[ev.data].Busy = false;
            else if (errno != EINTR)
                break;
        }
    if (FContext)
        ::syscall(SYS_io_destroy, FContext);
    Stop();
    if (FMap)
        ::munmap(const_cast<uint8_t *>(FMap), size_t(FMapLength));
}

void TDirectWriter::Stop()
{
    const int flags = ::fcntl(FDst.Fd(), F_GETFL);
    if (flags >= 0 && (flags & O_DIRECT))
        (void)::fcntl(FDst.Fd(), F_SETFL, flags & ~O_DIRECT);
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
        p.Cb = iocb{};
        p.Cb.aio_data = static_cast<uint64_t>(FTurn);
        p.Cb.aio_fildes = static_cast<uint32_t>(FDst.Fd());
        p.Cb.aio_lio_opcode = IOCB_CMD_PWRITE;
        p.Cb.aio_buf = reinterpret_cast<uint64_t>(buf);
        p.Cb.aio_nbytes = count;
        p.Cb.aio_offset = pos;
        p.Pos = pos;
        p.Count = count;
        iocb *list[1] = {&p.Cb};
        long r;
        do
            r = ::syscall(SYS_io_submit, FContext, 1, list);
        while (r < 0 && errno == EINTR);
        if (r == 1) {
            p.Busy = true;
            FTurn ^= 1;
            return;
        }
    }
    Finish(); // the last block, or no asynchronous writes: in order, and waited for
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
    io_event ev{};
    while (p.Busy) {
        if (::syscall(SYS_io_getevents, FContext, 1, 1, &ev, nullptr) != 1) {
            if (errno == EINTR)
                continue;
            FDst.Fail("io_getevents");
        }
        TPending &done = FPending[ev.data];
        done.Busy = false;
        const int64_t r = ev.res;
        if (r < 0 && r != -EINVAL) {
            errno = int(-r);
            FDst.Fail("pwrite");
        }
        WriteRestCached(FBuffer.get() + size_t(ev.data) * kBlock, done.Pos, r > 0 ? size_t(r) : 0, done.Count);
    }
}

void TDirectWriter::Finish()
{
    for (int i = 0; i < 2 && FPending; ++i)
        Reap(i);
}

void TDirectWriter::CopyFromSource(int64_t srcPos, int64_t pos, size_t count)
{
    if (FActive && FMap && srcPos % int64_t(kAlign) == 0 && srcPos + int64_t(count) <= FMapLength) {
        // The kernel reads the mapped pages itself: a read error fails the write, it cannot
        // fault this process.
        TFileFaults::BeforeRead();
        TFileFaults::BeforeWrite(FDst.Fd());
        const size_t done = WriteDirect(FMap + srcPos, pos, count);
        // The write mapped those pages into this process; they stay in the cache, but
        // leaving them mapped would count the whole document in the process's memory.
        const size_t page = size_t(::sysconf(_SC_PAGESIZE));
        const size_t span = std::min<int64_t>(int64_t((count + page - 1) / page * page), FMapLength - srcPos);
        (void)::madvise(const_cast<uint8_t *>(FMap) + srcPos, span, MADV_DONTNEED);
        srcPos += static_cast<int64_t>(done);
        pos += static_cast<int64_t>(done);
        count -= done;
        if (count == 0)
            return;
    }
    uint8_t *buf = Buffer();
    FSrc.ReadExact(srcPos, buf, count);
    Write(pos, count);
}

size_t TDirectWriter::WriteDirect(const uint8_t *p, int64_t pos, size_t count)
{
    size_t done = 0;
    const size_t aligned = count & ~(kAlign - 1);
    while (FActive && done < aligned) {
        const ssize_t r = ::pwrite(FDst.Fd(), p + done, aligned - done, pos + static_cast<int64_t>(done));
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0 && errno != EINVAL)
            FDst.Fail("pwrite");
        if (r > 0)
            done += static_cast<size_t>(r);
        // Refused after all (EINVAL) or short (a full disk, an odd block size): the rest goes
        // through the cache, which writes what fits and reports the real error.
        if (done < aligned)
            Stop();
    }
    return done;
}
