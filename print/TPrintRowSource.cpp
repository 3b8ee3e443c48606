#include "TPrintRowSource.h"

#include "TVxDocument.h"
#include "TPrintError.h"

#include <algorithm>

TPrintRowSource::TPrintRowSource(const TVxDocument &doc) : FDoc(doc), FBuffer(kBlock) {}

const uint8_t *TPrintRowSource::Bytes(int64_t from, int64_t end)
{
    if (from < FStart || end > FEnd) {
        const auto want = static_cast<int32_t>(std::min<int64_t>(kBlock, FDoc.FileSize() - from));
        const int32_t got = FDoc.ReadInto(static_cast<int32_t>(from), FBuffer.data(), want);
        FStart = from;
        FEnd = from + got;
        // The document cannot shrink while a job runs (the window is busy); a short read
        // means the working copy failed under us.
        if (end > FEnd)
            throw TPrintError("印刷するデータを読み込めませんでした。");
    }
    return FBuffer.data() + (from - FStart);
}
