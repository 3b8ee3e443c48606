#pragma once
// A bit or arithmetic operation applied to every whole unit of a range: XOR, AND, OR with a
// value, NOT, shifts and rotations by a number of bits, adding or subtracting a value (modulo
// the unit's width). Units of 1, 2, 4 or 8 bytes in either byte order are counted from the
// range's start; a range that is not a multiple of the unit keeps its last partial unit as
// it is (TrailingBytes says how many bytes that leaves).
//
// Shifts are logical: the bits moved out are lost and zeros come in. Streamed through
// TVxDocument::TransformRange.
//
// Cost: XOR, AND, OR and NOT go 8 bytes at a time whatever the unit (the value repeated in
// the unit's byte order is the same bytewise mask); the others work unit by unit.

#include "TVxByteTransform.h"
#include "TVxUnitOrder.h"

#include <cstdint>

class TVxBitOperation final : public TVxByteTransform {
public:
    enum class TOp { Xor, And, Or, Not, ShiftLeft, ShiftRight, RotateLeft, RotateRight, Add, Subtract };

    // Throws std::invalid_argument for a unit other than 1, 2, 4 or 8, a value wider than the
    // unit, or, for shifts and rotations, a bit count outside 1 .. unit's bits - 1.
    TVxBitOperation(TOp op, TVxUnitOrder unit, uint64_t value, int bits);

    // Whether the operation takes a value, or a bit count.
    static bool TakesValue(TOp op) { return op == TOp::Xor || op == TOp::And || op == TOp::Or || op == TOp::Add || op == TOp::Subtract; }
    static bool TakesBits(TOp op) { return op >= TOp::ShiftLeft && op <= TOp::RotateRight; }
    // Bytes at the end of a range of `count` bytes that no whole unit covers.
    int TrailingBytes(int64_t count) const { return static_cast<int>(count % FUnit.Unit); }

    void Apply(int64_t pos, uint8_t *buf, int32_t n) override;
    // XOR and NOT undo themselves, adding and subtracting each other, and so do the two
    // rotations; AND, OR and the shifts lose bits and have none.
    std::shared_ptr<TVxByteTransform> Inverse() const override;

private:
    uint64_t OnUnit(uint64_t v) const;
    void ApplyBytewise(uint8_t *buf, int32_t n) const;

    TOp FOp;
    TVxUnitOrder FUnit;
    uint64_t FValue;
    int FBits;
    uint64_t FMask8 = 0; // the value repeated over 8 bytes in the unit's byte order
};
