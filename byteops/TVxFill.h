#pragma once
// What "fill the selection" writes: a byte pattern repeated, random bytes, or an increasing
// sequence of numbers. Streamed through TVxDocument::TransformRange; the bytes depend only on
// their position in the range (and, for random bytes, on what came before), never on the
// bytes they replace.
//
//  - Pattern: the pattern from the range's start, again and again; the last repetition is
//    cut at the range's end.
//  - Random: bytes of a 64-bit Mersenne twister seeded from the system's random source (or a
//    given seed, for tests); not for keys or secrets.
//  - Sequence: units of Start, Start + Step, Start + 2·Step, ... modulo the unit's width, in
//    the unit's byte order; a last unit that does not fit is cut at the range's end.
//
// Cost: linear in the range; a pattern is copied a block at a time, not byte by byte.

#include "TVxByteTransform.h"
#include "TVxUnitOrder.h"

#include <cstdint>
#include <random>
#include <string>

class TVxFill final : public TVxByteTransform {
public:
    enum class TKind { Pattern, Random, Sequence };

    // Throws std::invalid_argument for an empty pattern.
    static TVxFill Pattern(const std::string &bytes);
    static TVxFill Random();
    static TVxFill Random(uint64_t seed);
    // Throws std::invalid_argument for a unit other than 1, 2, 4, 8 or a start or step wider
    // than the unit.
    static TVxFill Sequence(uint64_t start, uint64_t step, TVxUnitOrder unit);

    TKind Kind() const { return FKind; }
    void Apply(int64_t pos, uint8_t *buf, int32_t n) override;

private:
    explicit TVxFill(TKind kind) : FKind(kind) {}
    void ApplyPattern(int64_t pos, uint8_t *buf, int32_t n) const;
    void ApplyRandom(uint8_t *buf, int32_t n);
    void ApplySequence(int64_t pos, uint8_t *buf, int32_t n) const;

    TKind FKind;
    std::string FPattern;
    std::mt19937_64 FRandom;
    uint64_t FStart = 0;
    uint64_t FStep = 0;
    TVxUnitOrder FUnit;
};
