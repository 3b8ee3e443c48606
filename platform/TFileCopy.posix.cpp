#include "TFileCopy.h"
#include "TFileFaults.h"
#include "TFileHandle.h"

#include <algorithm>
#include <cerrno>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <system_error>
#include <unistd.h>

void TFileCopy::Copy(const TFileHandle &src, int64_t srcPos, TFileHandle &dst, int64_t dstPos, int64_t count,
                     TObserver *observer)
{
    bool kernel = true;
    const int64_t maxChunk = observer ? kObservedPiece : int64_t(1) << 30;
    while (count > 0) {
        TFileFaults::BeforeWrite(dst.Fd());
        if (!kernel) {
            const int64_t n = std::min(count, maxChunk);
            CopyThroughBuffer(src, srcPos, dst, dstPos, n, kBufferSize);
            if (observer)
                observer->Copied(n);
            srcPos += n;
            dstPos += n;
            count -= n;
            continue;
        }
        loff_t in = srcPos, out = dstPos;
        size_t chunk = static_cast<size_t>(std::min<int64_t>(count, maxChunk));
        ssize_t r = ::copy_file_range(src.Fd(), &in, dst.Fd(), &out, chunk, 0);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP) {
                kernel = false;
                continue;
            }
            dst.Fail("copy_file_range");
        }
        if (r == 0) { // the source ended early
            errno = EIO;
            src.Fail("copy_file_range: source shorter than expected");
        }
        srcPos += r;
        dstPos += r;
        count -= r;
        if (observer)
            observer->Copied(r);
    }
}

bool TFileCopy::CloneWhole(const TFileHandle &src, TFileHandle &dst)
{
    TFileFaults::BeforeWrite(dst.Fd());
    return ::ioctl(dst.Fd(), FICLONE, src.Fd()) == 0;
}
