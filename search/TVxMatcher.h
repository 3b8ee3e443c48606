#pragma once
// Exact byte-string matching inside one memory block: the first or the last occurrence of a
// pattern, every occurrence counted (overlaps included). Case folding happens before: the
// searcher folds both the pattern and the block, then matches them exactly.
//
// Method, chosen per pattern length n:
//  - n = 1: memchr / memrchr;
//  - up to 127 bytes: a 16-byte-wide filter on the first and the last pattern byte (SSE2,
//    scalar elsewhere), confirming candidates with memcmp; on random data one position in
//    65536 is a candidate. Branch-free, it runs at memory speed;
//  - from 128 bytes: Boyer-Moore-Horspool, whose skips of up to n bytes only then outrun
//    the filter (measured: slower than the filter at 20 and 64 bytes, faster at 128).
// Worst case O(len * n) (data built of pattern prefixes); typical cost well below one
// comparison per byte.
//
// Who calls: TVxSearcher, on its blocks.

#include <cstddef>
#include <cstdint>
#include <string>

class TVxMatcher {
public:
    // From this length on Horspool's skips beat the two-byte filter.
    static constexpr size_t kHorspoolFrom = 128;

    explicit TVxMatcher(std::string pattern);

    size_t Length() const { return FPattern.size(); }
    // Index of the first (FindFirst) or last (FindLast) i with i + n <= len at which the
    // pattern occurs in hay, or -1.
    ptrdiff_t FindFirst(const uint8_t *hay, size_t len) const;
    ptrdiff_t FindLast(const uint8_t *hay, size_t len) const;

private:
    ptrdiff_t FilterFirst(const uint8_t *hay, size_t len) const;
    ptrdiff_t FilterLast(const uint8_t *hay, size_t len) const;
    ptrdiff_t HorspoolFirst(const uint8_t *hay, size_t len) const;
    ptrdiff_t HorspoolLast(const uint8_t *hay, size_t len) const;
    bool RestEquals(const uint8_t *at) const;

    std::string FPattern;
    const uint8_t *FPat;
    // Horspool skips: forward by the byte under the window's last position, backward by the
    // byte under its first.
    uint32_t FSkip[256];
    uint32_t FBackSkip[256];
};
