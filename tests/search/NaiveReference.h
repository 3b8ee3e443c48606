#pragma once
// The search and replace of the editor written out byte by byte, straight from their
// definition and independent of the code under test: the yardstick of the differential
// tests.

#include <cstdint>
#include <string>
#include <vector>

namespace naive {

inline bool IsLead(int b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// pred < 0: the byte has no predecessor.
inline int Fold(int b, int pred)
{
    if (b < 0x20 || b > 0x7E)
        return b; // not a candidate
    if (b >= 0x40 && pred >= 0 && IsLead(pred))
        return b; // second byte of a double-byte character
    return (b >= 'A' && b <= 'Z') ? b + 0x20 : b;
}

inline int DataByte(const std::vector<uint8_t> &d, int64_t q, bool ic)
{
    return ic ? Fold(d[size_t(q)], q > 0 ? d[size_t(q - 1)] : -1) : d[size_t(q)];
}

inline int PatternByte(const std::string &t, size_t j, bool ic)
{
    const auto b = static_cast<uint8_t>(t[j]);
    return ic ? Fold(b, j > 0 ? static_cast<uint8_t>(t[j - 1]) : -1) : b;
}

inline bool MatchesAt(const std::vector<uint8_t> &d, int64_t p, const std::string &t, bool ic)
{
    for (size_t j = 0; j < t.size(); ++j)
        if (DataByte(d, p + int64_t(j), ic) != PatternByte(t, j, ic))
            return false;
    return true;
}

inline int32_t Search(const std::vector<uint8_t> &d, const std::string &t, int32_t start, int32_t end, bool ic,
                      bool backward)
{
    const int64_t n = int64_t(t.size()), size = int64_t(d.size());
    if (n == 0)
        return -1;
    if (!backward) {
        const int64_t last = std::min<int64_t>(end, size - 1);
        for (int64_t p = std::max<int64_t>(start, 0); p + n - 1 <= last; ++p)
            if (MatchesAt(d, p, t, ic))
                return int32_t(p);
        return -1;
    }
    const int64_t s = std::min<int64_t>(start, size - 1);
    for (int64_t p = s - n + 1; p >= std::max<int64_t>(end, 0); --p)
        if (MatchesAt(d, p, t, ic))
            return int32_t(p);
    return -1;
}

struct Record {
    int Kind; // 3 delete range, 5 replace range, 6 group
    int32_t Start, End, Count;
    std::vector<uint8_t> Data;
};

// Replace as its algorithm reads: search, splice, record, search again after the insertion.
inline int32_t Replace(std::vector<uint8_t> &d, int32_t start, const std::string &find, const std::string &rep,
                       bool all, bool ic, std::vector<Record> &records)
{
    const int32_t m = int32_t(find.size()), k = int32_t(rep.size());
    if (m == 0)
        return 0;
    int32_t count = 0;
    int32_t p = Search(d, find, start, int32_t(d.size()) - 1, ic, false);
    while (p != -1) {
        std::vector<uint8_t> old(d.begin() + p, d.begin() + p + m);
        if (k > 0)
            records.push_back({5, p, p + k - 1, m, old});
        else
            records.push_back({3, p, p + m - 1, 0, old});
        d.erase(d.begin() + p, d.begin() + p + m);
        d.insert(d.begin() + p, rep.begin(), rep.end());
        ++count;
        if (!all)
            break;
        p = Search(d, find, p + k, int32_t(d.size()) - 1, ic, false);
    }
    if (all && count > 0)
        records.push_back({6, 0, 0, count, {}});
    return count;
}

} // namespace naive
