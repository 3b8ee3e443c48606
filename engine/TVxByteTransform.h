#pragma once
// A rewrite of bytes in place that sees them a block at a time: a fill, a bit operation.
// TVxDocument::TransformRange streams a range of any size through one, so memory stays at
// one block whatever the range.
//
// Contract: Apply is called once per block, in ascending order, the blocks adjoining and
// together covering the range exactly once. Every block but the last is kBlock bytes long, a
// multiple of 8, so a unit of 1, 2, 4 or 8 bytes counted from the range's start never
// straddles two blocks. Apply may throw; the document then puts the range back as it was.
//
// An invertible transform (XOR, NOT, adding, rotating) names its inverse: the document then
// keeps no copy of the old bytes at all, since undo is the inverse applied over the range.

#include <cstdint>
#include <memory>

class TVxByteTransform {
public:
    static constexpr int32_t kBlock = 8 << 20;

    virtual ~TVxByteTransform() = default;
    // Rewrites buf[0, n): the range's bytes from `pos` (counted from the range's start) on.
    virtual void Apply(int64_t pos, uint8_t *buf, int32_t n) = 0;
    // The transform that gives every range its bytes back after this one, whatever they
    // were; nullptr when bytes are lost (a fill, AND, a shift).
    virtual std::shared_ptr<TVxByteTransform> Inverse() const { return nullptr; }
};
