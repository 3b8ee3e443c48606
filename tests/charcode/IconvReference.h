#pragma once
// glibc's iconv as the reference the character-code tests compare with. Windows has no iconv:
// there HX_HAVE_ICONV is 0 and the comparisons run on Linux only.

#include "TVxCharDecoder.h"

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#if __has_include(<iconv.h>)
#define HX_HAVE_ICONV 1
#include <iconv.h>

// The bytes `in` (in code `from`) converted into code `to`, with the closing shift a stateful
// code writes; nothing when iconv lacks a code or refuses any of the input.
inline std::optional<std::string> IconvConvert(const char *to, const char *from, const std::string &in)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == iconv_t(-1))
        return std::nullopt;
    std::string src(in), out(in.size() * 4 + 16, '\0');
    char *ip = src.data(), *op = out.data();
    size_t il = src.size(), ol = out.size();
    const size_t r = iconv(cd, &ip, &il, &op, &ol);
    const size_t flushed = iconv(cd, nullptr, nullptr, &op, &ol);
    iconv_close(cd);
    if (r == size_t(-1) || flushed == size_t(-1) || il != 0)
        return std::nullopt;
    out.resize(size_t(op - out.data()));
    return out;
}

// iconv's decoding of the bytes as code points.
inline std::optional<std::u32string> IconvDecode(const char *codePage, const std::vector<uint8_t> &in)
{
    const auto out = IconvConvert("UTF-32LE", codePage, std::string(in.begin(), in.end()));
    if (!out)
        return std::nullopt;
    std::u32string s(out->size() / 4, 0);
    std::memcpy(s.data(), out->data(), s.size() * 4);
    return s;
}
#else
#define HX_HAVE_ICONV 0
#endif

// The characters in order as a decoder left them: the code of each unit (a character or an
// invalid byte), from the unit at `from` on.
inline std::u32string DecodedUnits(const std::vector<TVxDecodedChar> &chars, size_t from = 0)
{
    std::u32string s;
    for (size_t i = from; i < chars.size(); ++i)
        if (chars[i].Span > 0)
            s += chars[i].Code;
    return s;
}
