#pragma once
// One checksum being computed: fed the data in order, any number of calls of any size, then
// asked for its value as the dialog shows it (TVxChecksumKinds: upper-case hexadecimal of the
// value's width for CRCs and sums, lower-case for digests).
//
// Implementations, one per family: TVxCrcAccumulator (the CRCs and Adler-32),
// TVxSumAccumulator (the sums), TVxDigestAccumulator (the digests). An object is used by one
// thread at a time. Who calls: TVxChecksumSet, which makes them.

#include <cstddef>
#include <cstdint>
#include <string>

class TVxChecksumAccumulator {
public:
    virtual ~TVxChecksumAccumulator() = default;
    virtual void Update(const uint8_t *data, size_t count) = 0;
    // The value of everything given so far (digests: the accumulator is spent after it).
    virtual std::string Result() = 0;
};
