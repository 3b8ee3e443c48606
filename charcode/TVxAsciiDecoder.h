#pragma once
// ASCII: every byte is a character of its own; 0x00..0x7F are their code points (control
// characters among them show "."), 0x80..0xFF are no ASCII and invalid.

#include "TVxCharDecoder.h"

class TVxAsciiDecoder : public TVxCharDecoder {
public:
    int Lookback() const override { return 0; }
    bool SyncsWithin(const uint8_t *, int32_t, int) const override { return true; }
    void Decode(const uint8_t *bytes, int count, int32_t base, int first, TVxDecodedChar *out) const override;
};
