#include "TVxCodePageTable.h"

#include "TVxCharDecoder.h"

namespace {
bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
} // namespace

char32_t TVxCodePageTable::Lookup(int index, const uint8_t *bytes, int count)
{
    if (FCodes.empty())
        FCodes.assign(size_t(FSize), 0);
    char32_t &code = FCodes[size_t(index)];
    if (code != 0)
        return code;
    const std::u16string text = TCodePageText::Decode(FCode, reinterpret_cast<const char *>(bytes), size_t(count));
    code = TVxCharDecoder::kUnmapped;
    if (text.size() == 1 && text[0] != 0xFFFD && text[0] != 0x1A && !IsHigh(text[0]) && !IsLow(text[0]))
        code = text[0];
    else if (text.size() == 2 && IsHigh(text[0]) && IsLow(text[1]))
        code = 0x10000 + ((char32_t(text[0]) - 0xD800) << 10) + (char32_t(text[1]) - 0xDC00);
    return code;
}
