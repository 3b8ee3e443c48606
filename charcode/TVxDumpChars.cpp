#include "TVxDumpChars.h"

#include "TVxCharDecoder.h"
#include "TVxDocument.h"
#include "TVxTextCodec.h"

#include <algorithm>
#include <vector>

std::u16string TVxDumpChars::Line(const TVxDocument &doc, const TVxTextCodec &codec, int32_t rangeStart,
                                  int32_t rangeEnd, int32_t line)
{
    const int32_t rowStart = line * 16;
    const int32_t lo = std::max(rowStart, rangeStart);
    const int32_t hi = std::min({rowStart + 15, rangeEnd, doc.FileSize() - 1}); // inclusive
    std::u16string out;
    if (lo > hi)
        return std::u16string(16, u' ');
    const int32_t base = std::max(0, lo - codec.Decoder().Lookback());
    const int32_t end = int32_t(std::min<int64_t>(doc.FileSize(), int64_t(hi) + 1 + TVxCharDecoder::kMaxAfter));
    std::vector<uint8_t> bytes(size_t(end - base));
    const int32_t got = doc.ReadInto(base, bytes.data(), end - base);
    out.append(size_t(lo - rowStart), u' ');
    out += codec.Decode(bytes.data(), size_t(got), base, size_t(lo - base), size_t(hi + 1 - base), false);
    out.append(size_t(rowStart + 15 - hi), u' ');
    return out;
}
