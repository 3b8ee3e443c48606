#include "TVxStretchDiff.h"

#include <algorithm>

bool TVxStretchDiff::Add(TVxDiffList &list, const uint8_t *a, int64_t aStart, int64_t na, const uint8_t *b,
                         int64_t bStart, int64_t nb)
{
    if (na == 0 || nb == 0 || (na + 1) * (nb + 1) > kMaxCells)
        return list.Add({aStart, na, bStart, nb});
    // L(i, j): length of a longest common subsequence of a[i, na) and b[j, nb).
    const int64_t w = nb + 1;
    FTable.assign(static_cast<size_t>((na + 1) * w), 0);
    const auto L = [&](int64_t i, int64_t j) -> uint16_t & { return FTable[size_t(i * w + j)]; };
    for (int64_t i = na - 1; i >= 0; --i)
        for (int64_t j = nb - 1; j >= 0; --j)
            L(i, j) = a[i] == b[j] ? uint16_t(L(i + 1, j + 1) + 1) : std::max(L(i + 1, j), L(i, j + 1));

    // Walk the table; taking a match whenever the bytes agree is always optimal.
    int64_t i = 0, j = 0, gapA = 0, gapB = 0;
    while (i < na || j < nb) {
        if (i < na && j < nb && a[i] == b[j]) {
            if (!list.Add({aStart + gapA, i - gapA, bStart + gapB, j - gapB}))
                return false;
            ++i;
            ++j;
            gapA = i;
            gapB = j;
        } else if (j == nb || (i < na && L(i + 1, j) >= L(i, j + 1))) {
            ++i;
        } else {
            ++j;
        }
    }
    return list.Add({aStart + gapA, na - gapA, bStart + gapB, nb - gapB});
}
