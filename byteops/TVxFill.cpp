#include "TVxFill.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

TVxFill TVxFill::Pattern(const std::string &bytes)
{
    if (bytes.empty())
        throw std::invalid_argument("TVxFill: empty pattern");
    TVxFill f(TKind::Pattern);
    f.FPattern = bytes;
    return f;
}

TVxFill TVxFill::Random()
{
    std::random_device source;
    return Random((uint64_t(source()) << 32) ^ source());
}

TVxFill TVxFill::Random(uint64_t seed)
{
    TVxFill f(TKind::Random);
    f.FRandom.seed(seed);
    return f;
}

TVxFill TVxFill::Sequence(uint64_t start, uint64_t step, TVxUnitOrder unit)
{
    if (!TVxUnitOrder::ValidUnit(unit.Unit) || (start & ~unit.Mask()) != 0 || (step & ~unit.Mask()) != 0)
        throw std::invalid_argument("TVxFill: sequence does not fit its unit");
    TVxFill f(TKind::Sequence);
    f.FStart = start;
    f.FStep = step;
    f.FUnit = unit;
    return f;
}

void TVxFill::Apply(int64_t pos, uint8_t *buf, int32_t n)
{
    switch (FKind) {
    case TKind::Pattern:
        ApplyPattern(pos, buf, n);
        return;
    case TKind::Random:
        ApplyRandom(buf, n);
        return;
    case TKind::Sequence:
        ApplySequence(pos, buf, n);
        return;
    }
}

void TVxFill::ApplyPattern(int64_t pos, uint8_t *buf, int32_t n) const
{
    const int64_t len = static_cast<int64_t>(FPattern.size());
    // One pattern's worth from the right phase, then the filled part copied onto the rest,
    // doubling: a block costs O(log) copies instead of one per repetition.
    const size_t phase = static_cast<size_t>(pos % len);
    int64_t filled = 0;
    for (size_t i = phase; filled < n && filled < len; ++filled, i = (i + 1) % FPattern.size())
        buf[filled] = static_cast<uint8_t>(FPattern[i]);
    while (filled < n) {
        const int64_t copy = std::min<int64_t>(filled / len * len, n - filled);
        std::memcpy(buf + filled, buf, static_cast<size_t>(copy));
        filled += copy;
    }
}

void TVxFill::ApplyRandom(uint8_t *buf, int32_t n)
{
    int32_t i = 0;
    for (; i + 8 <= n; i += 8) {
        const uint64_t r = FRandom();
        std::memcpy(buf + i, &r, 8);
    }
    if (i < n) {
        const uint64_t r = FRandom();
        std::memcpy(buf + i, &r, static_cast<size_t>(n - i));
    }
}

void TVxFill::ApplySequence(int64_t pos, uint8_t *buf, int32_t n) const
{
    // Blocks start on a unit boundary (see TVxByteTransform), so pos counts whole units.
    const int unit = FUnit.Unit;
    uint64_t value = (FStart + uint64_t(pos / unit) * FStep) & FUnit.Mask();
    for (int32_t i = 0; i < n; i += unit) {
        FUnit.Store(value, buf + i, std::min(unit, n - i));
        value = (value + FStep) & FUnit.Mask();
    }
}
