#pragma once
// EUC-JP: ASCII bytes, two-byte JIS X 0208 characters (both bytes 0xA1..0xFE), half-width
// katakana as 0x8E plus 0xA1..0xDF, and three-byte JIS X 0212 characters as 0x8F plus two
// bytes 0xA1..0xFE. Code points of the two- and three-byte characters come from the
// platform's EUC-JP table (the one whose vendor rows and mappings match CP932's, so the same
// JIS character shows the same in both columns).
//
// Where to start: any byte 0x00..0xA0 begins a unit (no trail byte lies there), so decoding
// starts at the last such byte before the bytes of interest, looked for up to kLookback
// bytes back. Without one there (more than 2047 double-byte characters in a row) it starts
// at the document's start when the look-back reaches it, else an even distance back.

#include "TVxCharDecoder.h"
#include "TVxCodePageTable.h"

class TVxEucJpDecoder : public TVxCharDecoder {
public:
    static constexpr int kLookback = 4096;

    TVxEucJpDecoder() : FTwoByte(TCodePageText::TCode::EucJp, 94 * 94), FThreeByte(TCodePageText::TCode::EucJp, 94 * 94) {}
    int Lookback() const override { return kLookback; }
    bool SyncsWithin(const uint8_t *bytes, int32_t base, int first) const override;
    void Decode(const uint8_t *bytes, int count, int32_t base, int first, TVxDecodedChar *out) const override;

private:
    mutable TVxCodePageTable FTwoByte;   // by (first - 0xA1) * 94 + (second - 0xA1)
    mutable TVxCodePageTable FThreeByte; // the same of the two bytes after 0x8F
};
