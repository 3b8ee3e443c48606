#include "TVxCharDecoderFactory.h"

#include "TVxAsciiDecoder.h"
#include "TVxEucJpDecoder.h"
#include "TVxJisDecoder.h"
#include "TVxSjisDecoder.h"
#include "TVxUtf16Decoder.h"
#include "TVxUtf8Decoder.h"

const TVxCharDecoder &TVxCharDecoderFactory::For(TVxCharCode code)
{
    static const TVxAsciiDecoder ascii;
    static const TVxSjisDecoder sjis;
    static const TVxEucJpDecoder euc;
    static const TVxUtf16Decoder utf16;
    static const TVxUtf8Decoder utf8;
    static const TVxJisDecoder jis;
    switch (code) {
    case ccASCII: return ascii;
    case ccEUC: return euc;
    case ccUNICODE: return utf16;
    case ccUTF8: return utf8;
    case ccJIS: return jis;
    case ccSJIS: return sjis;
    default: return ascii;
    }
}
