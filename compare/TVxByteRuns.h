#pragma once
// The two inner loops of every compare: how long two byte ranges stay equal, and how long
// they keep differing byte for byte.
//
// EqualPrefix compares growing stretches with memcmp (64 bytes at first, doubling up to
// 64 KiB while they are equal), then locates the first difference of a stretch 8 bytes at a
// time: long equal runs go at memcmp's speed, while dense differences cost no more than the
// bytes actually passed. DifferingPrefix is a plain loop (runs of differences are short, or
// the files are unrelated and every byte is looked at anyway).
//
// Who calls: TVxByteCompare, TVxAlignedCompare, TVxStretchDiff.

#include <cstdint>

class TVxDiffList;

class TVxByteRuns {
public:
    // Length of the common prefix of a[0, n) and b[0, n).
    static int64_t EqualPrefix(const uint8_t *a, const uint8_t *b, int64_t n);
    // Number of leading positions i < n with a[i] != b[i].
    static int64_t DifferingPrefix(const uint8_t *a, const uint8_t *b, int64_t n);
    // Adds each run of differing bytes of a[0, n) against b[0, n), offset facing offset, to
    // the list as a hunk at atA + i facing atB + i (runs crossing a block's end arrive in two
    // parts, which the list joins). False when the list is full.
    static bool AddDifferingRuns(const uint8_t *a, const uint8_t *b, int64_t n, int64_t atA, int64_t atB, TVxDiffList &list);
};
