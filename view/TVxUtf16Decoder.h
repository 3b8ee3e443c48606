#pragma once
// UTF-16 little-endian: code units at even document offsets (the parity comes from `base`),
// a surrogate pair as one character of four bytes. An unpaired surrogate and an odd last
// byte are invalid, each of their bytes a "." of its own.

#include "TVxCharDecoder.h"

class TVxUtf16Decoder : public TVxCharDecoder {
public:
    void Decode(const uint8_t *bytes, int count, int32_t base, int first, TVxDecodedChar *out) const override;
};
