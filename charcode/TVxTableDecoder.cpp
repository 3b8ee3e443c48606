#include "TVxTableDecoder.h"

#include "TVxCharTable.h"

namespace {
// The first code point of text: a surrogate pair combined, a lone surrogate without a face.
char32_t FirstCode(const std::u16string &text)
{
    const char16_t c = text[0];
    if (c < 0xD800 || c > 0xDFFF)
        return c;
    if (c <= 0xDBFF && text.size() > 1 && text[1] >= 0xDC00 && text[1] <= 0xDFFF)
        return 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(text[1]) - 0xDC00);
    return TVxCharDecoder::kUnmapped;
}
} // namespace

void TVxTableDecoder::Decode(const uint8_t *bytes, int count, int32_t base, int first, TVxDecodedChar *out) const
{
    // Both kinds of start decode from bytes[0]: see the header.
    (void)base;
    (void)first;
    for (int i = 0; i < count;) {
        const std::u16string *text = nullptr;
        const int n = FTable->Match(bytes + i, count - i, &text);
        if (n == 0) {
            out[i++] = {1, kInvalid};
            continue;
        }
        Put(out, i, n, FirstCode(*text));
        i += n;
    }
}
