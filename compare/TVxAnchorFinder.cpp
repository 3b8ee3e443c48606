#include "TVxAnchorFinder.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr uint64_t kPrime = 0x100000001b3ull;

uint64_t PowerOfPrime(int64_t n)
{
    uint64_t p = 1;
    for (int64_t i = 0; i < n; ++i)
        p *= kPrime;
    return p;
}

const uint64_t kOutgoing = PowerOfPrime(TVxAnchorFinder::kGram);

uint64_t HashBlock(const uint8_t *p)
{
    uint64_t h = 0;
    for (int64_t k = 0; k < TVxAnchorFinder::kGram; ++k)
        h = h * kPrime + p[k];
    return h;
}

// The polynomial hash's low bits depend on the bytes' low bits only: mix before indexing.
size_t SlotOf(uint64_t h, size_t mask)
{
    h ^= h >> 31;
    h *= 0xbf58476d1ce4e5b9ull;
    h ^= h >> 29;
    return static_cast<size_t>(h) & mask;
}

size_t TableSizeFor(int64_t span)
{
    // Filled at most two thirds: probes stay short, and a 4 MiB window needs 8 MiB.
    const int64_t entries = span / TVxAnchorFinder::kStep + 1;
    size_t size = 16;
    while (int64_t(size) < entries + entries / 2)
        size *= 2;
    return size;
}
} // namespace

TVxAnchorFinder::TVxAnchorFinder(int64_t maxSpan) : FMaxSize(TableSizeFor(maxSpan)) {}

std::optional<TVxAnchorFinder::TAnchor> TVxAnchorFinder::Find(const uint8_t *a, int64_t na, const uint8_t *b, int64_t nb)
{
    if (na < kGram || nb < kGram)
        return std::nullopt;
    const size_t size = std::min(TableSizeFor(nb), FMaxSize);
    // Grown on demand: most differences are found within the first, small stretch.
    if (FTable.size() < size)
        FTable.resize(size);
    const size_t mask = size - 1;
    std::fill(FTable.begin(), FTable.begin() + static_cast<std::ptrdiff_t>(size), TSlot{0, 0});
    for (int64_t j = 0; j + kGram <= nb; j += kStep) {
        const uint64_t h = HashBlock(b + j);
        for (size_t s = SlotOf(h, mask);; s = (s + 1) & mask) {
            if (FTable[s].PosPlus1 == 0) {
                FTable[s] = {h, static_cast<uint32_t>(j + 1)};
                break;
            }
            if (FTable[s].Hash == h)
                break; // an earlier position has this hash: keep the nearer one
        }
    }

    int64_t bestA = -1, bestB = -1;
    uint64_t h = HashBlock(a);
    for (int64_t i = 0; i + kGram <= na; ++i) {
        if (bestA >= 0 && i >= bestA + bestB)
            break;
        if (i > 0)
            h = h * kPrime + a[i + kGram - 1] - kOutgoing * a[i - 1];
        for (size_t s = SlotOf(h, mask); FTable[s].PosPlus1 != 0; s = (s + 1) & mask) {
            if (FTable[s].Hash != h)
                continue;
            const int64_t j = int64_t(FTable[s].PosPlus1) - 1;
            if ((bestA < 0 || i + j < bestA + bestB) && std::memcmp(a + i, b + j, size_t(kGram)) == 0) {
                bestA = i;
                bestB = j;
            }
            break;
        }
    }
    if (bestA < 0)
        return std::nullopt;
    while (bestA > 0 && bestB > 0 && a[bestA - 1] == b[bestB - 1]) {
        --bestA;
        --bestB;
    }
    return TAnchor{bestA, bestB};
}
