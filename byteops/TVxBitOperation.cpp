#include "TVxBitOperation.h"

#include <cstring>
#include <stdexcept>

TVxBitOperation::TVxBitOperation(TOp op, TVxUnitOrder unit, uint64_t value, int bits)
    : FOp(op), FUnit(unit), FValue(value), FBits(bits)
{
    if (!TVxUnitOrder::ValidUnit(unit.Unit))
        throw std::invalid_argument("TVxBitOperation: unit");
    if (TakesValue(op) && (value & ~unit.Mask()) != 0)
        throw std::invalid_argument("TVxBitOperation: value wider than the unit");
    if (TakesBits(op) && (bits < 1 || bits >= unit.Bits()))
        throw std::invalid_argument("TVxBitOperation: bit count");
    uint8_t pattern[8];
    for (int i = 0; i < 8; i += unit.Unit)
        unit.Store(op == TOp::Not ? unit.Mask() : value, pattern + i);
    std::memcpy(&FMask8, pattern, 8);
}

uint64_t TVxBitOperation::OnUnit(uint64_t v) const
{
    const uint64_t mask = FUnit.Mask();
    const int width = FUnit.Bits();
    switch (FOp) {
    case TOp::ShiftLeft:
        return (v << FBits) & mask;
    case TOp::ShiftRight:
        return v >> FBits;
    case TOp::RotateLeft:
        return ((v << FBits) | (v >> (width - FBits))) & mask;
    case TOp::RotateRight:
        return ((v >> FBits) | (v << (width - FBits))) & mask;
    case TOp::Add:
        return (v + FValue) & mask;
    case TOp::Subtract:
        return (v - FValue) & mask;
    default:
        return v; // the bytewise operations never get here
    }
}

void TVxBitOperation::ApplyBytewise(uint8_t *buf, int32_t n) const
{
    // Blocks start on an 8-byte boundary of the range (see TVxByteTransform), so the mask's
    // phase is the same in every block.
    int32_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t w;
        std::memcpy(&w, buf + i, 8);
        if (FOp == TOp::Xor || FOp == TOp::Not)
            w ^= FMask8;
        else if (FOp == TOp::And)
            w &= FMask8;
        else
            w |= FMask8;
        std::memcpy(buf + i, &w, 8);
    }
    // The tail, whole units only.
    uint8_t mask[8];
    std::memcpy(mask, &FMask8, 8);
    const int32_t end = n - n % FUnit.Unit;
    for (int j = 0; i < end; ++i, ++j) {
        if (FOp == TOp::Xor || FOp == TOp::Not)
            buf[i] ^= mask[j];
        else if (FOp == TOp::And)
            buf[i] &= mask[j];
        else
            buf[i] |= mask[j];
    }
}

void TVxBitOperation::Apply(int64_t, uint8_t *buf, int32_t n)
{
    if (FOp == TOp::Xor || FOp == TOp::And || FOp == TOp::Or || FOp == TOp::Not) {
        ApplyBytewise(buf, n);
        return;
    }
    const int unit = FUnit.Unit;
    for (int32_t i = 0; i + unit <= n; i += unit)
        FUnit.Store(OnUnit(FUnit.Load(buf + i)), buf + i);
}

std::shared_ptr<TVxByteTransform> TVxBitOperation::Inverse() const
{
    switch (FOp) {
    case TOp::Xor:
    case TOp::Not:
        return std::make_shared<TVxBitOperation>(*this);
    case TOp::Add:
        return std::make_shared<TVxBitOperation>(TOp::Subtract, FUnit, FValue, 0);
    case TOp::Subtract:
        return std::make_shared<TVxBitOperation>(TOp::Add, FUnit, FValue, 0);
    case TOp::RotateLeft:
        return std::make_shared<TVxBitOperation>(TOp::RotateRight, FUnit, 0, FBits);
    case TOp::RotateRight:
        return std::make_shared<TVxBitOperation>(TOp::RotateLeft, FUnit, 0, FBits);
    default:
        return nullptr;
    }
}
