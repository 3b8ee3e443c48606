#include "TVxByteRuns.h"

#include "TVxDiffList.h"

#include <cstring>

namespace {
// First difference inside a stretch that memcmp found unequal.
int64_t FirstDifference(const uint8_t *a, const uint8_t *b, int64_t n)
{
    int64_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t x, y;
        std::memcpy(&x, a + i, 8);
        std::memcpy(&y, b + i, 8);
        if (x != y)
            break;
    }
    while (i < n && a[i] == b[i])
        ++i;
    return i;
}
} // namespace

int64_t TVxByteRuns::EqualPrefix(const uint8_t *a, const uint8_t *b, int64_t n)
{
    int64_t done = 0;
    int64_t step = 64;
    while (done < n) {
        const int64_t len = n - done < step ? n - done : step;
        if (std::memcmp(a + done, b + done, static_cast<size_t>(len)) != 0)
            return done + FirstDifference(a + done, b + done, len);
        done += len;
        if (step < 65536)
            step *= 2;
    }
    return n;
}

int64_t TVxByteRuns::DifferingPrefix(const uint8_t *a, const uint8_t *b, int64_t n)
{
    int64_t i = 0;
    while (i < n && a[i] != b[i])
        ++i;
    return i;
}

bool TVxByteRuns::AddDifferingRuns(const uint8_t *a, const uint8_t *b, int64_t n, int64_t atA, int64_t atB, TVxDiffList &list)
{
    for (int64_t i = 0; i < n;) {
        i += EqualPrefix(a + i, b + i, n - i);
        if (i == n)
            break;
        const int64_t run = DifferingPrefix(a + i, b + i, n - i);
        if (!list.Add({atA + i, run, atB + i, run}))
            return false;
        i += run;
    }
    return true;
}
