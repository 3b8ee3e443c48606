#pragma once
// UTF-16 little-endian: code units at even document offsets (the parity comes from `base`),
// a surrogate pair as one character of four bytes. An unpaired surrogate and an odd last
// byte are invalid, each of their bytes a "." of its own. The parity of the offset is the
// synchronisation point; three bytes of look-back hold the start of a pair that ends at `first`.

#include "TVxCharDecoder.h"

class TVxUtf16Decoder : public TVxCharDecoder {
public:
    int Lookback() const override { return 3; }
    bool SyncsWithin(const uint8_t *, int32_t, int) const override { return true; }
    void Decode(const uint8_t *bytes, int count, int32_t base, int first, TVxDecodedChar *out) const override;
};
