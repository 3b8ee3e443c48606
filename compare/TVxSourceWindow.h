#pragma once
// A buffer of up to Capacity bytes over a TVxByteSource, for compares that walk forwards:
// Get makes a range resident and returns a pointer to it. A miss keeps the part of the old
// buffer that is still wanted (moved to the front) and fills the rest in one Read up to the
// capacity, so the source sees few, large reads and each byte is read about once on a forward
// walk.
//
// Cost: memory Capacity bytes; a miss one Read (plus a memmove of what is kept).
// Who calls: TVxByteCompare, TVxAlignedCompare.

#include "TVxByteSource.h"

#include <cstdint>
#include <memory>

class TVxSourceWindow {
public:
    TVxSourceWindow(TVxByteSource &source, int64_t capacity);

    int64_t Size() const { return FSize; }
    // The bytes [pos, pos + count) cut at Size(), resident until the next Get; count <=
    // capacity, 0 <= pos <= Size().
    const uint8_t *Get(int64_t pos, int64_t count);
    // How many bytes from pos are resident now (0 when pos lies outside): a walker that takes
    // what is there before asking for more avoids moving kept bytes around.
    int64_t Resident(int64_t pos) const
    {
        return pos >= FStart && pos < FStart + FLength ? FStart + FLength - pos : 0;
    }

private:
    TVxByteSource &FSource;
    const int64_t FSize;
    // Not zeroed: the reads fill it, and zeroing megabytes per compare showed in the timings.
    std::unique_ptr<uint8_t[]> FBuffer;
    int64_t FCapacity;
    int64_t FStart = 0; // source position of FBuffer[0]
    int64_t FLength = 0; // bytes valid in FBuffer
};
