#include "TVxMatcher.h"

#include <cstring>
#include <string.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

TVxMatcher::TVxMatcher(std::string pattern)
    : FPattern(std::move(pattern)), FPat(reinterpret_cast<const uint8_t *>(FPattern.data()))
{
    const size_t n = FPattern.size();
    const uint32_t def = static_cast<uint32_t>(n);
    for (auto &s : FSkip)
        s = def;
    for (auto &s : FBackSkip)
        s = def;
    for (size_t j = 0; j + 1 < n; ++j)
        FSkip[FPat[j]] = static_cast<uint32_t>(n - 1 - j);
    for (size_t j = n; j-- > 1;)
        FBackSkip[FPat[j]] = static_cast<uint32_t>(j);
}

bool TVxMatcher::RestEquals(const uint8_t *at) const
{
    // First and last byte already agree.
    const size_t n = FPattern.size();
    return n <= 2 || std::memcmp(at + 1, FPat + 1, n - 2) == 0;
}


namespace {
// The C library's reverse scan where it has one (glibc's is vectorised); elsewhere a word at
// a time, which still beats a byte loop by the word's width.
const void *LastByte(const uint8_t *hay, uint8_t byte, size_t len)
{
#ifdef __GLIBC__
    return ::memrchr(hay, byte, len);
#else
    const uint64_t ones = 0x0101010101010101ull;
    const uint64_t pattern = ones * byte;
    while (len >= 8) {
        uint64_t w;
        std::memcpy(&w, hay + len - 8, 8);
        const uint64_t x = w ^ pattern;
        if ((x - ones) & ~x & (ones << 7))
            break; // a match among these eight: the byte loop below finds the last one
        len -= 8;
    }
    while (len > 0) {
        if (hay[--len] == byte)
            return hay + len;
    }
    return nullptr;
#endif
}
} // namespace

ptrdiff_t TVxMatcher::FindFirst(const uint8_t *hay, size_t len) const
{
    const size_t n = FPattern.size();
    if (n == 0 || len < n)
        return -1;
    if (n == 1) {
        const void *p = std::memchr(hay, FPat[0], len);
        return p ? static_cast<const uint8_t *>(p) - hay : -1;
    }
    return n >= kHorspoolFrom ? HorspoolFirst(hay, len) : FilterFirst(hay, len);
}

ptrdiff_t TVxMatcher::FindLast(const uint8_t *hay, size_t len) const
{
    const size_t n = FPattern.size();
    if (n == 0 || len < n)
        return -1;
    if (n == 1) {
        const void *p = LastByte(hay, FPat[0], len);
        return p ? static_cast<const uint8_t *>(p) - hay : -1;
    }
    return n >= kHorspoolFrom ? HorspoolLast(hay, len) : FilterLast(hay, len);
}

ptrdiff_t TVxMatcher::FilterFirst(const uint8_t *hay, size_t len) const
{
    const size_t n = FPattern.size();
    const size_t last = len - n; // highest start
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i first = _mm_set1_epi8(static_cast<char>(FPat[0]));
    const __m128i final = _mm_set1_epi8(static_cast<char>(FPat[n - 1]));
    // Starts i .. i + 15 at once; their last bytes end at i + n + 14 <= len - 1.
    for (; i + 15 <= last; i += 16) {
        __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(hay + i));
        __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(hay + i + n - 1));
        unsigned m = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, final))));
        while (m != 0) {
            unsigned bit = static_cast<unsigned>(__builtin_ctz(m));
            if (RestEquals(hay + i + bit))
                return static_cast<ptrdiff_t>(i + bit);
            m &= m - 1;
        }
    }
#endif
    for (; i <= last; ++i)
        if (hay[i] == FPat[0] && hay[i + n - 1] == FPat[n - 1] && RestEquals(hay + i))
            return static_cast<ptrdiff_t>(i);
    return -1;
}

ptrdiff_t TVxMatcher::FilterLast(const uint8_t *hay, size_t len) const
{
    const size_t n = FPattern.size();
    size_t end = len - n + 1; // starts below this remain
#if defined(__SSE2__)
    const __m128i first = _mm_set1_epi8(static_cast<char>(FPat[0]));
    const __m128i final = _mm_set1_epi8(static_cast<char>(FPat[n - 1]));
    for (; end >= 16; end -= 16) {
        const size_t i = end - 16;
        __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(hay + i));
        __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(hay + i + n - 1));
        unsigned m = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, final))));
        while (m != 0) {
            unsigned bit = 31u - static_cast<unsigned>(__builtin_clz(m));
            if (RestEquals(hay + i + bit))
                return static_cast<ptrdiff_t>(i + bit);
            m &= ~(1u << bit);
        }
    }
#endif
    while (end-- > 0)
        if (hay[end] == FPat[0] && hay[end + n - 1] == FPat[n - 1] && RestEquals(hay + end))
            return static_cast<ptrdiff_t>(end);
    return -1;
}

ptrdiff_t TVxMatcher::HorspoolFirst(const uint8_t *hay, size_t len) const
{
    const size_t n = FPattern.size();
    const uint8_t lastByte = FPat[n - 1];
    for (size_t i = 0; i + n <= len;) {
        const uint8_t c = hay[i + n - 1];
        if (c == lastByte && std::memcmp(hay + i, FPat, n - 1) == 0)
            return static_cast<ptrdiff_t>(i);
        i += FSkip[c];
    }
    return -1;
}

ptrdiff_t TVxMatcher::HorspoolLast(const uint8_t *hay, size_t len) const
{
    const size_t n = FPattern.size();
    const uint8_t firstByte = FPat[0];
    for (ptrdiff_t i = static_cast<ptrdiff_t>(len - n); i >= 0;) {
        const uint8_t c = hay[i];
        if (c == firstByte && std::memcmp(hay + i + 1, FPat + 1, n - 1) == 0)
            return i;
        i -= static_cast<ptrdiff_t>(FBackSkip[c]);
    }
    return -1;
}
