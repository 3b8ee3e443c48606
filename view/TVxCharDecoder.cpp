#include "TVxCharDecoder.h"

#include "TVxAsciiDecoder.h"
#include "TVxEucJpDecoder.h"
#include "TVxSjisDecoder.h"
#include "TVxUtf16Decoder.h"
#include "TVxUtf8Decoder.h"

const TVxCharDecoder &TVxCharDecoder::For(TVxCharCode code)
{
    static const TVxAsciiDecoder ascii;
    static const TVxSjisDecoder sjis;
    static const TVxEucJpDecoder euc;
    static const TVxUtf16Decoder utf16;
    static const TVxUtf8Decoder utf8;
    switch (code) {
    case ccASCII: return ascii;
    case ccEUC: return euc;
    case ccUNICODE: return utf16;
    case ccUTF8: return utf8;
    default: return sjis;
    }
}

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
