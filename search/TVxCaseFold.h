#pragma once
// Case folding of the search: the 26 upper-case Latin letters become lower case, except a
// byte in 0x40-0x7E whose predecessor is a Shift-JIS lead byte (0x81-0x9F, 0xE0-0xFC), since
// it is then the second byte of a double-byte character. Only the one byte before counts;
// nothing parses the text from its start. The same rule folds the pattern (the first
// pattern byte has no predecessor) and the data (offset 0 has none), in both directions.
//
// Who calls: TVxSearcher folds the pattern once and the data a block at a time.

#include <cstddef>
#include <cstdint>
#include <string>

class TVxCaseFold {
public:
    static constexpr int kNoPredecessor = -1;

    static bool IsLeadByte(int b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
    // b folded after `pred` (a byte, or kNoPredecessor).
    static uint8_t Fold(uint8_t b, int pred)
    {
        return b >= 'A' && b <= 'Z' && !IsLeadByte(pred) ? static_cast<uint8_t>(b + 0x20) : b;
    }
    // The pattern as the scan compares it.
    static std::string FoldText(const std::string &text);
    // dst[i] := Fold(src[i], src[i - 1]), with `pred` standing before src[0]. Vectorised; the
    // result equals the byte-by-byte rule. In place (dst == src) works too: folding never
    // changes whether a byte is a lead byte.
    static void FoldBlock(const uint8_t *src, uint8_t *dst, size_t count, int pred);

    // The codes whose Latin letters never stand inside another character's bytes (UTF-8,
    // EUC-JP) and the looser first pass of the others: every "A".."Z" lowered. Vectorised.
    static void FoldLatin(const uint8_t *src, uint8_t *dst, size_t count);
    // Every byte through a map of its own (a character table's letters).
    static void FoldMap(const uint8_t *src, uint8_t *dst, size_t count, const uint8_t map[256]);
};
