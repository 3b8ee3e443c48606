#pragma once
// The characters of one row of the character column: the row's 16 bytes with the context
// the decoders need around them (TVxCharDecoder::kMaxBefore before, kMaxAfter after, both
// limited to the document), read through the cache window and decoded with a character
// code. The painter draws from it; the byte values panel asks it for the character that holds
// the caret, so the panel names exactly what the column shows.
//
// Cost: at most 35 byte reads from the cache window and one decode; no allocation beyond
// what a decoder does.

#include "TVxCharDecoder.h"
#include "TVxTextFilter.h"

class TVxDocument;

class TVxCharRun {
public:
    static constexpr int kMax = TVxCharDecoder::kMaxBefore + 16 + TVxCharDecoder::kMaxAfter;

    // Reads and decodes the run of the row whose first offset is rowStart (a multiple of 16).
    void Read(TVxDocument &doc, int32_t rowStart, TVxCharCode code);

    // The index in Bytes/Chars of the first byte of the character that holds `offset`;
    // -1 when the offset is outside the run or its byte belongs to no character.
    int CharAt(int32_t offset) const;

    int32_t Base = 0; // document offset of Bytes[0]
    int Count = 0;
    uint8_t Bytes[kMax] = {};
    TVxDecodedChar Chars[kMax];
};
