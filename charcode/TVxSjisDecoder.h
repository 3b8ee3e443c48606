#pragma once
// Shift-JIS (CP932), on the character column's own state machine (TVxTextFilter's spans).
// Single bytes are ASCII or half-width katakana (0xA1..0xDF); a pair's code point comes from
// the platform's CP932 table. A byte the filter turns into "." (0x80, 0xA0, 0xFD..0xFF, a
// lead without a trail) is invalid; control bytes keep their code points.
//
// Where to start: a byte that cannot be a lead byte (outside 0x81..0x9F, 0xE0..0xFC) ends
// a character whatever came before it (it is a character of its own or a trail), so the
// byte after the last such byte before the bytes of interest begins one; from there the
// lead bytes pair up in order. That point is looked for up to kLookback bytes back, and at
// least kContext bytes back are always decoded, so a pair begun on the row above shows its
// right half at the row's start. A run of lead-range bytes longer than the look-back (text
// made only of characters whose second byte is also a lead byte) starts at the document's
// start when the look-back reaches it, else an even distance back. Within that run a stretch that starts at kContext bytes back decodes the same
// whenever its start is a character start, which is why the rows of ordinary text read as
// before.

#include "TVxCharDecoder.h"
#include "TVxCodePageTable.h"

class TVxSjisDecoder : public TVxCharDecoder {
public:
    static constexpr int kContext = 3;
    static constexpr int kLookback = 256;

    TVxSjisDecoder() : FPairs(TCodePageText::TCode::ShiftJis, 256 * 256) {}
    int Lookback() const override { return kLookback; }
    void Decode(const uint8_t *bytes, int count, int32_t base, int first, TVxDecodedChar *out) const override;

    // The index in bytes[0..first] where a character certainly begins, as described above.
    static int SyncPoint(const uint8_t *bytes, int32_t base, int first);

private:
    mutable TVxCodePageTable FPairs; // by lead * 256 + trail
};
