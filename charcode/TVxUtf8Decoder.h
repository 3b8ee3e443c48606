#pragma once
// UTF-8 as Unicode defines its well-formed sequences: one to four bytes, no overlong forms,
// no surrogates, nothing above U+10FFFF. Every byte of an ill-formed or truncated sequence
// is a "." of its own, and decoding resumes at the next byte, as a standard decoder's
// replacement of maximal subparts does. UTF-8 resynchronises by itself (a continuation byte
// never starts a character), so decoding starts at the context's first byte; three bytes of
// look-back hold the start of the longest character that reaches `first`.

#include "TVxCharDecoder.h"

class TVxUtf8Decoder : public TVxCharDecoder {
public:
    int Lookback() const override { return 3; }
    bool SyncsWithin(const uint8_t *, int32_t base, int first) const override { return base == 0 || first >= 3; }
    void Decode(const uint8_t *bytes, int count, int32_t base, int first, TVxDecodedChar *out) const override;

    // The length of the well-formed sequence at bytes[0..count) and its code point; 0 when
    // none begins there.
    static int Sequence(const uint8_t *bytes, int count, char32_t &code);
};
