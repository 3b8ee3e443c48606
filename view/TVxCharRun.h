#pragma once
// The characters of one row of the character column: the row's 16 bytes with the context
// the decoder needs around them (its Lookback() before, TVxCharDecoder::kMaxAfter after,
// both limited to the document), read through the cache window and decoded. The painter
// draws from it; the byte values panel asks it for the character that holds the caret, so
// the panel names exactly what the column shows.
//
// Cost: Lookback() + 16 + kMaxAfter byte reads from the cache window and one decode; the
// buffers grow to the longest look-back once and are then reused.

#include "TVxCharDecoder.h"

#include <cstdint>
#include <vector>

class TVxDocument;

class TVxCharRun {
public:
    // Reads and decodes the run of the row whose first offset is rowStart (a multiple of 16).
    void Read(TVxDocument &doc, int32_t rowStart, const TVxCharDecoder &decoder);

    // The index in Bytes/Chars of the first byte of the character that holds `offset`;
    // -1 when the offset is outside the run or its byte belongs to no character.
    int CharAt(int32_t offset) const;

    int32_t Base = 0; // document offset of Bytes[0]
    int Count = 0;
    std::vector<uint8_t> Bytes;
    std::vector<TVxDecodedChar> Chars;
};
