#include "TVxSplicedCopy.h"

#include "TFileCopy.h"

#include <algorithm>
#include <cstring>

TVxSplicedCopy::TVxSplicedCopy(const TFileHandle &src, int64_t srcSize, TFileHandle &dst, TVxProgress *progress)
    : FSrc(src), FSrcSize(srcSize), FDst(dst), FProgress(progress), FRead(static_cast<size_t>(kBufferSize)),
      FWrite(static_cast<size_t>(kBufferSize))
{
}

std::vector<std::unique_ptr<uint8_t[]>> TVxSplicedCopy::Run(const TVxSplice *splices, size_t count, bool capture)
{
    std::vector<std::unique_ptr<uint8_t[]>> taken;
    taken.reserve(capture ? count : 0);
    int64_t pos = 0;
    for (size_t i = 0; i < count; ++i) {
        const TVxSplice &s = splices[i];
        Report(pos);
        Take(pos, s.Offset - pos, nullptr);
        if (capture) {
            taken.push_back(std::make_unique<uint8_t[]>(static_cast<size_t>(s.OldCount)));
            Take(s.Offset, s.OldCount, taken.back().get());
        }
        Put(s.Data, static_cast<size_t>(s.NewCount));
        pos = int64_t(s.Offset) + s.OldCount;
    }
    while (pos < FSrcSize) {
        Report(pos);
        const int64_t n = std::min<int64_t>(TVxProgress::kChunk, FSrcSize - pos);
        Take(pos, n, nullptr);
        pos += n;
    }
    Flush();
    return taken;
}

void TVxSplicedCopy::Take(int64_t from, int64_t n, uint8_t *capture)
{
    while (n > 0) {
        const bool buffered = from >= FReadStart && from < FReadEnd;
        if (!capture && n >= kBufferSize && !buffered) {
            CopyFromSource(from, n);
            return;
        }
        Buffer(from);
        const int64_t c = std::min(n, FReadEnd - from);
        const uint8_t *p = FRead.data() + (from - FReadStart);
        if (capture) {
            std::memcpy(capture, p, static_cast<size_t>(c));
            capture += c;
        } else {
            Put(p, static_cast<size_t>(c));
        }
        from += c;
        n -= c;
    }
}

void TVxSplicedCopy::Buffer(int64_t from)
{
    if (from >= FReadStart && from < FReadEnd)
        return;
    const int64_t len = std::min<int64_t>(kBufferSize, FSrcSize - from);
    FSrc.ReadExact(from, FRead.data(), static_cast<size_t>(len));
    FReadStart = from;
    FReadEnd = from + len;
}

void TVxSplicedCopy::Put(const uint8_t *p, size_t n)
{
    while (n > 0) {
        if (FFill == FWrite.size())
            Flush();
        const size_t c = std::min(n, FWrite.size() - FFill);
        std::memcpy(FWrite.data() + FFill, p, c);
        FFill += c;
        p += c;
        n -= c;
    }
}

void TVxSplicedCopy::CopyFromSource(int64_t from, int64_t n)
{
    Flush();
    TFileCopy::Copy(FSrc, from, FDst, FDstPos, n);
    FDstPos += n;
}

void TVxSplicedCopy::Flush()
{
    if (FFill > 0)
        FDst.WriteAt(FDstPos, FWrite.data(), FFill);
    FDstPos += static_cast<int64_t>(FFill);
    FFill = 0;
}

void TVxSplicedCopy::Report(int64_t at)
{
    if (FProgress && at - FReported >= TVxProgress::kChunk) {
        FProgress->Report(at, FSrcSize, true);
        FReported = at;
    }
}
