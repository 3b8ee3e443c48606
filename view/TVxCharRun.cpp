#include "TVxCharRun.h"

#include "TVxDocument.h"

#include <algorithm>

void TVxCharRun::Read(TVxDocument &doc, int32_t rowStart, const TVxCharDecoder &decoder)
{
    Base = std::max(0, rowStart - decoder.Lookback());
    const int64_t end = std::min<int64_t>(doc.FileSize(), int64_t(rowStart) + 16 + TVxCharDecoder::kMaxAfter);
    Count = int(std::max<int64_t>(0, end - Base));
    if (Bytes.size() < size_t(Count)) {
        Bytes.resize(size_t(Count));
        Chars.resize(size_t(Count));
    }
    for (int i = 0; i < Count; ++i)
        Bytes[size_t(i)] = doc.ByteAt(Base + i);
    decoder.Decode(Bytes.data(), Count, Base, std::min(Count, rowStart - Base), Chars.data());
}

int TVxCharRun::CharAt(int32_t offset) const
{
    const int64_t at = int64_t(offset) - Base;
    if (at < 0 || at >= Count)
        return -1;
    int i = int(at);
    while (i > 0 && Chars[size_t(i)].Span == 0)
        --i;
    const TVxDecodedChar &c = Chars[size_t(i)];
    if (c.Span == 0 || c.Code == TVxCharDecoder::kInvalid || i + c.Span <= at)
        return -1;
    return i;
}
