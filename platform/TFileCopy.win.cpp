#include "TFileCopy.h"
#include "TFileFaults.h"
#include "TFileHandle.h"

#include <algorithm>
#include <system_error>

// Windows has no copy inside the kernel between two open files (CopyFileW takes names and
// whole files): bytes go through a buffer in this process. A megabyte per call keeps the
// number of calls low without leaving the processor's cache far behind.
namespace {
constexpr int64_t kCopyBuffer = int64_t(1) << 20;
} // namespace

void TFileCopy::Copy(const TFileHandle &src, int64_t srcPos, TFileHandle &dst, int64_t dstPos, int64_t count,
                     TObserver *observer)
{
    const int64_t maxChunk = observer ? kObservedPiece : int64_t(1) << 30;
    while (count > 0) {
        TFileFaults::BeforeWrite(dst.Fd());
        const int64_t n = std::min(count, maxChunk);
        CopyThroughBuffer(src, srcPos, dst, dstPos, n, size_t(kCopyBuffer));
        if (observer)
            observer->Copied(n);
        srcPos += n;
        dstPos += n;
        count -= n;
    }
}

bool TFileCopy::CloneWhole(const TFileHandle &, TFileHandle &dst)
{
    // Block cloning exists only on ReFS and only within one volume, which the temporary
    // folder and a document rarely share: the caller copies.
    TFileFaults::BeforeWrite(dst.Fd());
    return false;
}
