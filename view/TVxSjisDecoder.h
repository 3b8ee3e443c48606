#pragma once
// Shift-JIS (CP932), on the character column's own state machine (TVxTextFilter's spans):
// decoding starts three bytes before the bytes of interest, as the column always has, so
// that a pair begun on the row above shows its right half at the row's start. Single bytes
// are ASCII or half-width katakana (0xA1..0xDF); a pair's code point comes from the
// platform's CP932 table. A byte the filter turns into "." (0x80, 0xA0, 0xFD..0xFF, a lead
// without a trail) is invalid; control bytes keep their code points.

#include "TVxCharDecoder.h"
#include "TVxCodePageTable.h"

class TVxSjisDecoder : public TVxCharDecoder {
public:
    static constexpr int kContext = 3;

    TVxSjisDecoder() : FPairs(TCodePageText::TCode::ShiftJis, 256 * 256) {}
    void Decode(const uint8_t *bytes, int count, int32_t base, int first, TVxDecodedChar *out) const override;

private:
    mutable TVxCodePageTable FPairs; // by lead * 256 + trail
};
