#pragma once
// Hands out the decoder of a character code. Kept apart from TVxCharDecoder so that the
// base class knows none of its subclasses: each decoder includes the base, and only this
// unit includes them all.
//
// Called by TVxCharRun (the character column and the byte values panel) and the decoder
// tests. The decoders are built on first use and live until the program ends; like them,
// GUI thread only.

#include "TVxTextFilter.h"

class TVxCharDecoder;

class TVxCharDecoderFactory {
public:
    // The decoder of a code; ccJIS, which has no decoder, gets the Shift-JIS one.
    static const TVxCharDecoder &For(TVxCharCode code);
};
