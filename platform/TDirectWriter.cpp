#include "TDirectWriter.h"

#include "TFileFaults.h"
#include "TFileHandle.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
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

void *AlignedBlock()
{
    void *p = nullptr;
    if (::posix_memalign(&p, TDirectWriter::kAlign, TDirectWriter::kBlock) != 0)
        return nullptr;
    return p;
}
} // namespace

TDirectWriter::TDirectWriter(const TFileHandle &src, TFileHandle &dst)
    : FSrc(src), FDst(dst), FBuffer(nullptr, std::free)
{
    if (SameFileSystemSharing(src.Fd(), dst.Fd()))
        return;
    const int flags = ::fcntl(dst.Fd(), F_GETFL);
    if (flags < 0 || ::fcntl(dst.Fd(), F_SETFL, flags | O_DIRECT) != 0)
        return;
    FBuffer.reset(static_cast<uint8_t *>(AlignedBlock()));
    FActive = FBuffer != nullptr;
    if (!FActive) {
        Stop();
        return;
    }
    const int64_t length = src.Length();
    void *map = length > 0 ? ::mmap(nullptr, size_t(length), PROT_READ, MAP_SHARED, src.Fd(), 0) : MAP_FAILED;
    if (map != MAP_FAILED) {
        FMap = static_cast<const uint8_t *>(map);
        FMapLength = length;
    }
}

TDirectWriter::~TDirectWriter()
{
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

void TDirectWriter::Write(int64_t pos, size_t count)
{
    TFileFaults::BeforeWrite(FDst.Fd());
    const size_t done = WriteDirect(FBuffer.get(), pos, count);
    if (done < count) {
        Stop();
        FDst.WriteAt(pos + static_cast<int64_t>(done), FBuffer.get() + done, count - done);
    }
}

void TDirectWriter::CopyFromSource(int64_t srcPos, int64_t pos, size_t count)
{
    if (FActive && FMap && srcPos % int64_t(kAlign) == 0 && srcPos + int64_t(count) <= FMapLength) {
        // The kernel reads the mapped pages itself: a read error fails the write, it cannot
        // fault this process.
        TFileFaults::BeforeRead();
        TFileFaults::BeforeWrite(FDst.Fd());
        const size_t done = WriteDirect(FMap + srcPos, pos, count);
        srcPos += static_cast<int64_t>(done);
        pos += static_cast<int64_t>(done);
        count -= done;
        if (count == 0)
            return;
    }
    FSrc.ReadExact(srcPos, FBuffer.get(), count);
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
