#pragma once
// The plain sums: SUM-8 (the bytes, modulo 256), SUM-16 and SUM-32 in either byte order (the
// data read as 16- or 32-bit words of that order, summed modulo 2^16 or 2^32). A word may
// straddle two calls of Update; a partial word left at the end is completed with zero bytes
// after it, so 01 02 03 sums as SUM-16 (LE) 0201 + 0003 and as SUM-16 (BE) 0102 + 0300.
//
// Cost: a few bytes a cycle (loops the compiler vectorises). Who calls: TVxChecksumSet.

#include "TVxChecksumAccumulator.h"
#include "TVxChecksumKinds.h"

class TVxSumAccumulator : public TVxChecksumAccumulator {
public:
    // `kind`: one of Sum8, Sum16LE, Sum16BE, Sum32LE, Sum32BE.
    explicit TVxSumAccumulator(TVxChecksum kind);
    void Update(const uint8_t *data, size_t count) override;
    std::string Result() override;

private:
    // Adds whole words of the accumulator's width and order.
    void AddWords(const uint8_t *data, size_t words);

    TVxChecksum FKind;
    int FWidth;        // bytes a word: 1, 2 or 4
    bool FBigEndian;
    uint32_t FSum = 0; // modulo 2^32, cut to the width at the end
    // The bytes of a word begun but not complete, in their places (the rest zero), and how many.
    uint32_t FPartial = 0;
    int FPartialCount = 0;
};
