#pragma once
// What the compare tests hold the compares against: sources in memory, the plain byte loop,
// the minimum number of inserted plus deleted bytes (a longest common subsequence), and the
// check that a hunk list is a valid edit script from A to B.

#include "TVxByteSource.h"
#include "TVxDiffList.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

using TBytes = std::vector<uint8_t>;

class TMemorySource : public TVxByteSource {
public:
    explicit TMemorySource(TBytes bytes) : FBytes(std::move(bytes)) {}
    int64_t Size() const override { return int64_t(FBytes.size()); }
    void Read(int64_t pos, uint8_t *buf, int32_t count) override
    {
        if (pos < 0 || count < 0 || pos + count > Size())
            throw std::runtime_error("read out of bounds");
        std::memcpy(buf, FBytes.data() + pos, size_t(count));
    }

private:
    TBytes FBytes;
};

// Byte by byte, one index at a time.
inline std::vector<TVxDiffHunk> NaiveByteHunks(const TBytes &a, const TBytes &b)
{
    std::vector<TVxDiffHunk> out;
    const int64_t common = int64_t(std::min(a.size(), b.size()));
    for (int64_t i = 0; i < common; ++i) {
        if (a[size_t(i)] == b[size_t(i)])
            continue;
        if (!out.empty() && out.back().AEnd() == i)
            ++out.back().ALength, ++out.back().BLength;
        else
            out.push_back({i, 1, i, 1});
    }
    if (a.size() != b.size()) {
        const int64_t ta = int64_t(a.size()) - common, tb = int64_t(b.size()) - common;
        if (!out.empty() && out.back().AEnd() == common)
            out.back().ALength += ta, out.back().BLength += tb;
        else
            out.push_back({common, ta, common, tb});
    }
    return out;
}

// Fewest bytes deleted from A plus inserted from B that turn A into B.
inline int64_t MinimumEdits(const TBytes &a, const TBytes &b)
{
    std::vector<int32_t> row(b.size() + 1, 0), next(b.size() + 1, 0);
    for (size_t i = a.size(); i-- > 0;) {
        for (size_t j = b.size(); j-- > 0;)
            next[j] = a[i] == b[j] ? row[j + 1] + 1 : std::max(row[j], next[j + 1]);
        std::swap(row, next);
    }
    return int64_t(a.size() + b.size()) - 2 * row[0];
}

// Empty when the hunks are in order, none empty, no two touching on both sides, and applying
// them to A (each hunk's A bytes replaced by its B bytes) gives B exactly; else what is wrong.
inline std::string EditScriptError(const TVxDiffList &list, const TBytes &a, const TBytes &b)
{
    TBytes built;
    int64_t atA = 0;
    for (size_t k = 0; k < list.Count(); ++k) {
        const TVxDiffHunk &h = list[k];
        if (h.ALength < 0 || h.BLength < 0 || (h.ALength == 0 && h.BLength == 0))
            return "hunk " + std::to_string(k) + " empty or negative";
        if (h.AStart < atA || h.AEnd() > int64_t(a.size()) || h.BEnd() > int64_t(b.size()))
            return "hunk " + std::to_string(k) + " out of order or bounds";
        if (k > 0 && h.AStart == atA && h.BStart == list[k - 1].BEnd())
            return "hunk " + std::to_string(k) + " touches its predecessor";
        built.insert(built.end(), a.begin() + atA, a.begin() + h.AStart);
        if (int64_t(built.size()) != h.BStart)
            return "hunk " + std::to_string(k) + " does not face its place in B";
        built.insert(built.end(), b.begin() + h.BStart, b.begin() + h.BEnd());
        atA = h.AEnd();
    }
    built.insert(built.end(), a.begin() + atA, a.end());
    return built == b ? std::string() : "applied hunks do not give B";
}

inline TBytes RandomBytes(std::mt19937 &rng, size_t n, int alphabet = 256)
{
    TBytes v(n);
    for (auto &c : v)
        c = uint8_t(rng() % unsigned(alphabet));
    return v;
}
