#include "TVxAsciiDecoder.h"

void TVxAsciiDecoder::Decode(const uint8_t *bytes, int count, int32_t, int, TVxDecodedChar *out) const
{
    for (int i = 0; i < count; ++i)
        out[i] = TVxDecodedChar{1, bytes[i] < 0x80 ? char32_t(bytes[i]) : kInvalid};
}
