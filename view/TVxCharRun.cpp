#include "TVxCharRun.h"

#include "TVxCharDecoderFactory.h"
#include "TVxDocument.h"

#include <algorithm>

void TVxCharRun::Read(TVxDocument &doc, int32_t rowStart, TVxCharCode code)
{
    Base = std::max(0, rowStart - TVxCharDecoder::kMaxBefore);
    const int64_t end = std::min<int64_t>(doc.FileSize(), int64_t(rowStart) + 16 + TVxCharDecoder::kMaxAfter);
    Count = int(std::max<int64_t>(0, end - Base));
    for (int i = 0; i < Count; ++i)
        Bytes[i] = doc.ByteAt(Base + i);
    TVxCharDecoderFactory::For(code).Decode(Bytes, Count, Base, std::min(Count, rowStart - Base), Chars);
}

int TVxCharRun::CharAt(int32_t offset) const
{
    const int64_t at = int64_t(offset) - Base;
    if (at < 0 || at >= Count)
        return -1;
    int i = int(at);
    while (i > 0 && Chars[i].Span == 0)
        --i;
    if (Chars[i].Span == 0 || Chars[i].Code == TVxCharDecoder::kInvalid || i + Chars[i].Span <= at)
        return -1;
    return i;
}
