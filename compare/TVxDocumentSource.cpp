#include "TVxDocumentSource.h"

#include <stdexcept>

void TVxDocumentSource::Read(int64_t pos, uint8_t *buf, int32_t count)
{
    if (pos < 0 || pos + count > FDoc.FileSize())
        throw std::runtime_error("compare: read beyond the document's end");
    const int32_t got = FDoc.ReadInto(static_cast<int32_t>(pos), buf, count);
    if (got != count)
        throw std::runtime_error("compare: the document ended early");
}
