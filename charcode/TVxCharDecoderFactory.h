#pragma once
// Hands out the decoder of a character code. Kept apart from TVxCharDecoder so that the
// base class knows none of its subclasses: each decoder includes the base, and only this
// unit includes them all.
//
// Called by TVxTextCodec, which every user of a code goes through, and the decoder tests. The decoders are built on first use and live until the program ends; like them,
// GUI thread only.

#include "TVxTextFilter.h"

class TVxCharDecoder;

class TVxCharDecoderFactory {
public:
    // The decoder of a built-in code; ccTable, whose decoder belongs to its table, gets ASCII's.
    static const TVxCharDecoder &For(TVxCharCode code);
};
