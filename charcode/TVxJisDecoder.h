#pragma once
// ISO-2022-JP, the column's "JIS" code: seven-bit text whose meaning depends on the last
// escape sequence (or shift) before it.
//
// Modes and what switches to them:
//   ESC ( B, ESC ( J   ASCII (JIS-Roman is shown as ASCII)
//   ESC $ @, ESC $ B   JIS X 0208: two bytes 0x21..0x7E per character
//   ESC ( I            half-width katakana: 0x21..0x5F is U+FF61..U+FF9F
//   SO (0x0E)          half-width katakana until SI (0x0F), which returns to the mode the SO
//                      left; an escape sequence ends the shift as well
// Every byte of a recognised escape sequence is an invalid unit of its own ("."); SO and SI
// are units with their control code points. In every mode a control byte (below 0x20, 0x7F)
// and the space are units of their own that leave the mode alone (an ESC that begins no
// sequence above is such a control byte), and 0xA1..0xDF is half-width katakana (eight-bit
// JIS X 0201); other bytes above 0x7F are invalid. A JIS X 0208 pair shows the character its
// EUC-JP form (both bytes | 0x80) has in the EUC-JP column, so both columns agree; a pair
// without a character and a byte without its partner are invalid units.
//
// Where to start: an ESC is never inside a character, and a recognised escape sequence
// fixes the whole state, so decoding starts at the last one that begins before the bytes of
// interest, replaying SO and SI after it. Without one there it starts at the stretch's
// start in ASCII: correct at the document's start (base 0); elsewhere it means that text
// more than kLookback bytes after its escape sequence (about 500 kanji in a row without a
// line of ASCII between them, which usually comes with its own escape) shows as ASCII. The
// cost of this is a look-back of kLookback bytes for every row read.

#include "TVxCharDecoder.h"
#include "TVxCodePageTable.h"

class TVxJisDecoder : public TVxCharDecoder {
public:
    static constexpr int kLookback = 1024;

    TVxJisDecoder() : FPairs(TCodePageText::TCode::EucJp, 94 * 94) {}
    int Lookback() const override { return kLookback; }
    void Decode(const uint8_t *bytes, int count, int32_t base, int first, TVxDecodedChar *out) const override;

private:
    mutable TVxCodePageTable FPairs; // by (first - 0x21) * 94 + (second - 0x21)
};
