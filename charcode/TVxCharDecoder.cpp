#include "TVxCharDecoder.h"

char32_t TVxCharDecoder::Displayed(char32_t code)
{
    if (code == kInvalid || IsControl(code))
        return U'.';
    if (code == kUnmapped || code == 0xFFFD || (code >= 0xE000 && code <= 0xF8FF) || code >= 0xF0000)
        return 0x30FB;
    return code;
}

void TVxCharDecoder::Invalidate(TVxDecodedChar *out, int from, int to)
{
    for (int i = from; i < to; ++i)
        out[i] = TVxDecodedChar{1, kInvalid};
}

void TVxCharDecoder::Put(TVxDecodedChar *out, int i, int span, char32_t code)
{
    out[i] = TVxDecodedChar{uint8_t(span), code};
    for (int k = 1; k < span; ++k)
        out[i + k] = TVxDecodedChar{0, kInvalid};
}
