#pragma once
// Where two stretches that differ at their first byte agree again: the aligned compare's
// search for a resynchronisation point.
//
// An anchor is a pair (A, B) with a[A, A + kGram) == b[B, B + kGram). Find indexes b's
// 32-byte blocks starting at every kStep-th position (a hash table of 64-bit polynomial
// hashes, the smallest position kept per hash), rolls the same hash over every position of a,
// verifies each hit with memcmp and keeps the anchor with the smallest A + B (the nearest
// place where both files agree again); that anchor is then moved back over the bytes before
// it that agree too. Any common run of kGram + kStep - 1 bytes or more is found; shorter ones
// are not, so changes closer together than that end up in one stretch.
//
// Cost: O(na + nb) time, with the scan of a stopping once A alone exceeds the best anchor's
// A + B; memory a table of 16 bytes per 8 indexed positions, grown to the largest stretch
// seen (at most maxSpan) and reused, cleared only as far as a call uses it.
//
// Who calls: TVxAlignedCompare, with stretches growing by doubling up to its window.

#include <cstdint>
#include <optional>
#include <vector>

class TVxAnchorFinder {
public:
    static constexpr int64_t kGram = 32;
    static constexpr int64_t kStep = 16;

    struct TAnchor {
        int64_t A, B;
    };

    // maxSpan: the longest stretch of b a call will be given.
    explicit TVxAnchorFinder(int64_t maxSpan);

    std::optional<TAnchor> Find(const uint8_t *a, int64_t na, const uint8_t *b, int64_t nb);

private:
    struct TSlot {
        uint64_t Hash;
        uint32_t PosPlus1; // 0: empty
    };
    size_t FMaxSize;
    std::vector<TSlot> FTable;
};
