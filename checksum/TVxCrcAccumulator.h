#pragma once
// The cyclic redundancy checks and Adler-32 (parameters in TVxChecksumKinds.h).
//
// CRC-32 and Adler-32 are zlib's (crc32_z, adler32_z), which every target has. The others
// have no library on every target and are computed here: CRC-16 (ARC) and CRC-32C eight bytes
// at a time through eight tables (slicing-by-8), CRC-32C with the processor's crc32
// instruction instead where it has SSE4.2 (asked at run time), CRC-16/CCITT-FALSE, not
// reflected, eight bytes at a time the same way. The tables are built once, on first use, for
// the whole program.
//
// Cost: zlib's speed for its two; eight table look-ups per 8 bytes for the sliced tables, one
// instruction per 8 bytes for CRC-32C on SSE4.2. Who calls: TVxChecksumSet.

#include "TVxChecksumAccumulator.h"
#include "TVxChecksumKinds.h"

class TVxCrcAccumulator : public TVxChecksumAccumulator {
public:
    // `kind`: one of Crc16Arc, Crc16CcittFalse, Crc32, Crc32C, Adler32.
    explicit TVxCrcAccumulator(TVxChecksum kind);
    void Update(const uint8_t *data, size_t count) override;
    std::string Result() override;

private:
    TVxChecksum FKind;
    uint32_t FValue;
};
