#pragma once
// The Unicode code points of one multi-byte code page's characters, looked up through the
// platform's converter (QStringDecoder, stateless) the first time each is needed and kept.
//
// The owner numbers the characters 0..size-1 (a row and cell of its double-byte grid) and
// passes the character's bytes along; the table decodes them once. A sequence that the
// converter does not turn into exactly one character (it gives U+FFFD or U+001A) yields
// TVxCharDecoder::kUnmapped. Memory: four bytes per entry, allocated on first lookup.

#include <QStringDecoder>

#include <cstdint>
#include <vector>

class TVxCodePageTable {
public:
    TVxCodePageTable(const char *codec, int size) : FCodec(codec), FSize(size) {}

    char32_t Lookup(int index, const uint8_t *bytes, int count);

private:
    const char *FCodec;
    int FSize;
    QStringDecoder FDecoder;
    std::vector<char32_t> FCodes; // 0: not looked up yet (no sequence decodes to U+0000)
};
