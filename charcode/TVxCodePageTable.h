#pragma once
// The Unicode code points of one multi-byte code page's characters, looked up through the
// system's converter (TCodePageText, which keeps no state between calls) the first time each
// is needed and kept.
//
// The owner numbers the characters 0..size-1 (a row and cell of its double-byte grid) and
// passes the character's bytes along; the table decodes them once. A sequence that the
// converter does not turn into exactly one character (it gives U+FFFD or U+001A) yields
// TVxCharDecoder::kUnmapped. Memory: four bytes per entry, allocated on first lookup.

#include "TCodePageText.h"

#include <cstdint>
#include <vector>

class TVxCodePageTable {
public:
    TVxCodePageTable(TCodePageText::TCode code, int size) : FCode(code), FSize(size) {}

    char32_t Lookup(int index, const uint8_t *bytes, int count);

private:
    TCodePageText::TCode FCode;
    int FSize;
    std::vector<char32_t> FCodes; // 0: not looked up yet (no sequence decodes to U+0000)
};
