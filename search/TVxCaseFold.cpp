#include "TVxCaseFold.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

std::string TVxCaseFold::FoldText(const std::string &text)
{
    std::string out(text);
    if (!text.empty())
        FoldBlock(reinterpret_cast<const uint8_t *>(text.data()), reinterpret_cast<uint8_t *>(out.data()),
                  text.size(), kNoPredecessor);
    return out;
}

void TVxCaseFold::FoldBlock(const uint8_t *src, uint8_t *dst, size_t count, int pred)
{
    if (count == 0)
        return;
    dst[0] = Fold(src[0], pred);
    size_t i = 1;
#if defined(__SSE2__)
    // Sixteen bytes at a time, each beside its own predecessor (the load one byte earlier).
    // Unsigned ranges are tested as "x - lo <= hi - lo" through min_epu8.
    const __m128i kA = _mm_set1_epi8('A');
    const __m128i k25 = _mm_set1_epi8(25);
    const __m128i k81 = _mm_set1_epi8(static_cast<char>(0x81));
    const __m128i k1E = _mm_set1_epi8(0x9F - 0x81);
    const __m128i kE0 = _mm_set1_epi8(static_cast<char>(0xE0));
    const __m128i k1C = _mm_set1_epi8(0xFC - 0xE0);
    const __m128i k20 = _mm_set1_epi8(0x20);
    auto within = [](__m128i x, __m128i lo, __m128i span) {
        __m128i d = _mm_sub_epi8(x, lo);
        return _mm_cmpeq_epi8(_mm_min_epu8(d, span), d);
    };
    for (; i + 16 <= count; i += 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + i));
        __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + i - 1));
        __m128i upper = within(v, kA, k25);
        __m128i lead = _mm_or_si128(within(p, k81, k1E), within(p, kE0, k1C));
        __m128i add = _mm_andnot_si128(lead, _mm_and_si128(upper, k20));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + i), _mm_add_epi8(v, add));
    }
#endif
    for (; i < count; ++i)
        dst[i] = Fold(src[i], src[i - 1]);
}

void TVxCaseFold::FoldLatin(const uint8_t *src, uint8_t *dst, size_t count)
{
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i kA = _mm_set1_epi8('A');
    const __m128i k25 = _mm_set1_epi8(25);
    const __m128i k20 = _mm_set1_epi8(0x20);
    for (; i + 16 <= count; i += 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + i));
        __m128i d = _mm_sub_epi8(v, kA);
        __m128i upper = _mm_cmpeq_epi8(_mm_min_epu8(d, k25), d);
        _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + i), _mm_add_epi8(v, _mm_and_si128(upper, k20)));
    }
#endif
    for (; i < count; ++i)
        dst[i] = src[i] >= 'A' && src[i] <= 'Z' ? static_cast<uint8_t>(src[i] + 0x20) : src[i];
}

void TVxCaseFold::FoldMap(const uint8_t *src, uint8_t *dst, size_t count, const uint8_t map[256])
{
    for (size_t i = 0; i < count; ++i)
        dst[i] = map[src[i]];
}
