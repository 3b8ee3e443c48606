#include "TVxSumAccumulator.h"

#include <cstdio>
#include <stdexcept>

TVxSumAccumulator::TVxSumAccumulator(TVxChecksum kind) : FKind(kind)
{
    switch (kind) {
    case TVxChecksum::Sum8: FWidth = 1; break;
    case TVxChecksum::Sum16LE:
    case TVxChecksum::Sum16BE: FWidth = 2; break;
    case TVxChecksum::Sum32LE:
    case TVxChecksum::Sum32BE: FWidth = 4; break;
    default: throw std::invalid_argument("TVxSumAccumulator: not a sum");
    }
    FBigEndian = kind == TVxChecksum::Sum16BE || kind == TVxChecksum::Sum32BE;
}

void TVxSumAccumulator::AddWords(const uint8_t *p, size_t words)
{
    // Each width and order a loop of its own, so each vectorises.
    uint32_t sum = FSum;
    if (FWidth == 1) {
        for (size_t i = 0; i < words; ++i)
            sum += p[i];
    } else if (FWidth == 2 && !FBigEndian) {
        for (size_t i = 0; i < words; ++i)
            sum += uint32_t(p[2 * i]) | uint32_t(p[2 * i + 1]) << 8;
    } else if (FWidth == 2) {
        for (size_t i = 0; i < words; ++i)
            sum += uint32_t(p[2 * i]) << 8 | uint32_t(p[2 * i + 1]);
    } else if (!FBigEndian) {
        for (size_t i = 0; i < words; ++i)
            sum += uint32_t(p[4 * i]) | uint32_t(p[4 * i + 1]) << 8 | uint32_t(p[4 * i + 2]) << 16 | uint32_t(p[4 * i + 3]) << 24;
    } else {
        for (size_t i = 0; i < words; ++i)
            sum += uint32_t(p[4 * i]) << 24 | uint32_t(p[4 * i + 1]) << 16 | uint32_t(p[4 * i + 2]) << 8 | uint32_t(p[4 * i + 3]);
    }
    FSum = sum;
}

void TVxSumAccumulator::Update(const uint8_t *data, size_t count)
{
    // First completes the word the last call left open.
    for (; FPartialCount > 0 && count > 0; ++data, --count) {
        const int shift = 8 * (FBigEndian ? FWidth - 1 - FPartialCount : FPartialCount);
        FPartial |= uint32_t(*data) << shift;
        if (++FPartialCount == FWidth) {
            FSum += FPartial;
            FPartial = 0;
            FPartialCount = 0;
        }
    }
    const size_t words = count / size_t(FWidth);
    AddWords(data, words);
    for (size_t i = words * size_t(FWidth); i < count; ++i, ++FPartialCount)
        FPartial |= uint32_t(data[i]) << (8 * (FBigEndian ? FWidth - 1 - FPartialCount : FPartialCount));
}

std::string TVxSumAccumulator::Result()
{
    // The missing bytes of a partial word are zeros, which FPartial already holds.
    uint32_t sum = FSum + FPartial;
    if (FWidth < 4)
        sum &= (uint32_t(1) << (8 * FWidth)) - 1;
    char text[16];
    std::snprintf(text, sizeof text, "%0*lX", 2 * FWidth, static_cast<unsigned long>(sum));
    return text;
}
