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
#include <vector>

class TVxSourceWindow {
public:
    TVxSourceWindow(TVxByteSource &source, int64_t capacity);

    int64_t Size() const { return FSize; }
    // The bytes [pos, pos + count) cut at Size(), resident until the next Get; count <=
    // capacity, 0 <= pos <= Size().
    const uint8_t *Get(int64_t pos, int64_t count);

private:
    TVxByteSource &FSource;
    const int64_t FSize;
    std::vector<uint8_t> FBuffer;
    int64_t FStart = 0; // source position of FBuffer[0]
    int64_t FLength = 0; // bytes valid in FBuffer
};
