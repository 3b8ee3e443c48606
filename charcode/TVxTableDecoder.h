#pragma once
// The character column through a user's character table (TVxCharTable): at each position
// the longest entry whose bytes begin there is a character of those bytes; a byte that
// begins no entry is an invalid unit ("."). An entry whose text is longer than one
// character shows its first character (the column has one character per entry's bytes);
// a text beginning with a lone surrogate shows as a character without a face.
//
// Where to start: a table has no byte that always begins a character, so decoding is
// greedy from the stretch's start, the document's start when base is 0 and kLookback bytes
// before the bytes of interest otherwise. In ordinary tables (single bytes for the common
// characters, longer sequences led by a few prefix bytes) greedy parses begun at different
// points meet within a few characters, long before the look-back runs out, so a row reads
// as it would read from the document's start. A table whose sequences chain without end
// can show a row differently from the one before it.
//
// Cost: one table lookup per character, a few binary searches each. Holds the table.

#include "TVxCharDecoder.h"

#include <memory>

class TVxCharTable;

class TVxTableDecoder : public TVxCharDecoder {
public:
    static constexpr int kLookback = 32;

    explicit TVxTableDecoder(std::shared_ptr<const TVxCharTable> table) : FTable(std::move(table)) {}
    int Lookback() const override { return kLookback; }
    void Decode(const uint8_t *bytes, int count, int32_t base, int first, TVxDecodedChar *out) const override;

private:
    std::shared_ptr<const TVxCharTable> FTable;
};
