#include "TVxHexDigits.h"

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define HX_HEX_SSE2 1
#endif
// Not on Windows: its compilers keep the stack aligned to 16 bytes, and a 32-byte value
// spilled there may be written with an aligned store that faults.
#if defined(__x86_64__) && !defined(_WIN32) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define HX_HEX_AVX2 1
#endif

namespace {
#ifdef HX_HEX_SSE2
// The digit characters of sixteen nibbles (0 to 15).
inline __m128i DigitChars(__m128i nibbles)
{
    const __m128i letter = _mm_cmpgt_epi8(nibbles, _mm_set1_epi8(9));
    return _mm_add_epi8(_mm_add_epi8(nibbles, _mm_set1_epi8('0')), _mm_and_si128(letter, _mm_set1_epi8('A' - '0' - 10)));
}
#endif
} // namespace

#define HX_ROW_NONE -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1
const int8_t TVxHexDigits::kValues[256] = {
    HX_ROW_NONE, HX_ROW_NONE, HX_ROW_NONE,
    0, 1, 2, 3, 4, 5, 6, 7, 8, 9, -1, -1, -1, -1, -1, -1,
    -1, 10, 11, 12, 13, 14, 15, -1, -1, -1, -1, -1, -1, -1, -1, -1, HX_ROW_NONE,
    -1, 10, 11, 12, 13, 14, 15, -1, -1, -1, -1, -1, -1, -1, -1, -1, HX_ROW_NONE,
    HX_ROW_NONE, HX_ROW_NONE, HX_ROW_NONE, HX_ROW_NONE, HX_ROW_NONE, HX_ROW_NONE, HX_ROW_NONE, HX_ROW_NONE};
#undef HX_ROW_NONE

const char TVxHexDigits::kPairs[513] =
    "000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F"
    "202122232425262728292A2B2C2D2E2F303132333435363738393A3B3C3D3E3F"
    "404142434445464748494A4B4C4D4E4F505152535455565758595A5B5C5D5E5F"
    "606162636465666768696A6B6C6D6E6F707172737475767778797A7B7C7D7E7F"
    "808182838485868788898A8B8C8D8E8F909192939495969798999A9B9C9D9E9F"
    "A0A1A2A3A4A5A6A7A8A9AAABACADAEAFB0B1B2B3B4B5B6B7B8B9BABBBCBDBEBF"
    "C0C1C2C3C4C5C6C7C8C9CACBCCCDCECFD0D1D2D3D4D5D6D7D8D9DADBDCDDDEDF"
    "E0E1E2E3E4E5E6E7E8E9EAEBECEDEEEFF0F1F2F3F4F5F6F7F8F9FAFBFCFDFEFF";

unsigned TVxHexDigits::Encode(const uint8_t *data, size_t count, char *out)
{
    unsigned sum = 0;
    size_t i = 0;
#ifdef HX_HEX_SSE2
    const __m128i low = _mm_set1_epi8(0x0F);
    __m128i sums = _mm_setzero_si128();
    for (; i + 16 <= count; i += 16, out += 32) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i));
        const __m128i hi = DigitChars(_mm_and_si128(_mm_srli_epi16(v, 4), low));
        const __m128i lo = DigitChars(_mm_and_si128(v, low));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out), _mm_unpacklo_epi8(hi, lo));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + 16), _mm_unpackhi_epi8(hi, lo));
        sums = _mm_add_epi64(sums, _mm_sad_epu8(v, _mm_setzero_si128()));
    }
    sum = static_cast<unsigned>(_mm_cvtsi128_si32(sums) + _mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
#endif
    for (; i < count; ++i) {
        out = Put(out, data[i]);
        sum += data[i];
    }
    return sum;
}

#ifdef HX_HEX_SSE2
namespace {
// Sixteen characters to eight bytes at out; `valid` loses the lanes of characters that are
// no digits.
inline __m128i DecodeSixteen(const char *text, uint8_t *out, __m128i &valid)
{
    const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text));
    // Unsigned "x <= limit" is min(x, limit) == x.
    const __m128i d = _mm_sub_epi8(c, _mm_set1_epi8('0'));
    const __m128i isDigit = _mm_cmpeq_epi8(_mm_min_epu8(d, _mm_set1_epi8(9)), d);
    // Setting bit 5 folds 'A'-'F' onto 'a'-'f' and nothing else onto them.
    const __m128i l = _mm_sub_epi8(_mm_or_si128(c, _mm_set1_epi8(0x20)), _mm_set1_epi8('a'));
    const __m128i isLetter = _mm_cmpeq_epi8(_mm_min_epu8(l, _mm_set1_epi8(5)), l);
    valid = _mm_and_si128(valid, _mm_or_si128(isDigit, isLetter));
    const __m128i v =
        _mm_or_si128(_mm_and_si128(isDigit, d), _mm_and_si128(isLetter, _mm_add_epi8(l, _mm_set1_epi8(10))));
    // Each 16-bit lane holds a pair: the high digit in its low byte.
    const __m128i pairs =
        _mm_or_si128(_mm_slli_epi16(_mm_and_si128(v, _mm_set1_epi16(0x00FF)), 4), _mm_srli_epi16(v, 8));
    const __m128i bytes = _mm_packus_epi16(pairs, _mm_setzero_si128());
    _mm_storel_epi64(reinterpret_cast<__m128i *>(out), bytes);
    return bytes;
}
} // namespace
#endif

#ifdef HX_HEX_AVX2
namespace {
// Thirty-two characters to sixteen bytes at out, as DecodeSixteen does sixteen.
__attribute__((target("avx2"))) inline __m128i DecodeThirtyTwo(const char *text, uint8_t *out, __m256i &valid)
{
    const __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(text));
    const __m256i d = _mm256_sub_epi8(c, _mm256_set1_epi8('0'));
    const __m256i isDigit = _mm256_cmpeq_epi8(_mm256_min_epu8(d, _mm256_set1_epi8(9)), d);
    const __m256i l = _mm256_sub_epi8(_mm256_or_si256(c, _mm256_set1_epi8(0x20)), _mm256_set1_epi8('a'));
    const __m256i isLetter = _mm256_cmpeq_epi8(_mm256_min_epu8(l, _mm256_set1_epi8(5)), l);
    valid = _mm256_and_si256(valid, _mm256_or_si256(isDigit, isLetter));
    const __m256i v = _mm256_blendv_epi8(_mm256_add_epi8(l, _mm256_set1_epi8(10)), d, isDigit);
    // Each pair to high * 16 + low in a 16-bit lane, packed within each 128-bit half, then
    // the two halves' eight bytes brought together.
    const __m256i pairs = _mm256_maddubs_epi16(v, _mm256_set1_epi16(0x0110));
    const __m128i bytes =
        _mm256_castsi256_si128(_mm256_permute4x64_epi64(_mm256_packus_epi16(pairs, _mm256_setzero_si256()), 0x08));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(out), bytes);
    return bytes;
}

// Decode for sixteen bytes or more on processors with AVX2 (nearly every x86-64 one since
// 2013), checked once at run time: half the steps of SSE2 for the records' 32-byte lines.
__attribute__((target("avx2"))) int DecodeAvx2(const char *text, size_t count, uint8_t *out)
{
    __m256i valid = _mm256_set1_epi8(-1);
    __m128i sums = _mm_setzero_si128();
    size_t i = 0;
    for (; i + 16 <= count; i += 16)
        sums = _mm_add_epi64(sums, _mm_sad_epu8(DecodeThirtyTwo(text + 2 * i, out + i, valid), _mm_setzero_si128()));
    if (i < count) {
        // The last sixteen bytes again, only the new ones summed (see Decode).
        static const uint8_t kNew[32] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                         0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                         0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
        const __m128i tail = DecodeThirtyTwo(text + 2 * (count - 16), out + count - 16, valid);
        const __m128i mask = _mm_loadu_si128(reinterpret_cast<const __m128i *>(kNew + (count - i)));
        sums = _mm_add_epi64(sums, _mm_sad_epu8(_mm_and_si128(tail, mask), _mm_setzero_si128()));
    }
    const unsigned sum =
        static_cast<unsigned>(_mm_cvtsi128_si32(sums) + _mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
    return _mm256_movemask_epi8(valid) == -1 ? static_cast<int>(sum) : -1;
}

bool HasAvx2()
{
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}
} // namespace
#endif

int TVxHexDigits::Decode(const char *text, size_t count, uint8_t *out)
{
    size_t i = 0;
    unsigned sum = 0;
#ifdef HX_HEX_AVX2
    if (count >= 16 && HasAvx2())
        return DecodeAvx2(text, count, out);
#endif
#ifdef HX_HEX_SSE2
    if (count >= 8) {
        __m128i valid = _mm_set1_epi8(-1), sums = _mm_setzero_si128();
        for (; i + 8 <= count; i += 8)
            sums = _mm_add_epi64(sums, _mm_sad_epu8(DecodeSixteen(text + 2 * i, out + i, valid), _mm_setzero_si128()));
        if (i < count) {
            // The last eight bytes again, overlapping what is done: no byte-by-byte tail. Only
            // the new ones are summed: the mask's lanes start at the first of them.
            static const uint8_t kNew[24] = {0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
            const __m128i tail = DecodeSixteen(text + 2 * (count - 8), out + count - 8, valid);
            const __m128i mask = _mm_loadu_si128(reinterpret_cast<const __m128i *>(kNew + (count - i)));
            sums = _mm_add_epi64(sums, _mm_sad_epu8(_mm_and_si128(tail, mask), _mm_setzero_si128()));
        }
        sum = static_cast<unsigned>(_mm_cvtsi128_si32(sums));
        return _mm_movemask_epi8(valid) == 0xFFFF ? static_cast<int>(sum) : -1;
    }
#endif
    int bad = 0;
    for (; i < count; ++i, text += 2) {
        const int hi = kValues[static_cast<uint8_t>(text[0])], lo = kValues[static_cast<uint8_t>(text[1])];
        bad |= hi | lo;
        out[i] = static_cast<uint8_t>((hi & 15) << 4 | (lo & 15));
        sum += out[i];
    }
    return bad < 0 ? -1 : static_cast<int>(sum);
}
