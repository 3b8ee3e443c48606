#include "TVxChecksumKinds.h"

#include <algorithm>
#include <array>

namespace {
struct TInfo {
    const char *Name;
    const char *Key;
};
// In the enumeration's order.
constexpr std::array<TInfo, TVxChecksumKinds::kCount> kInfo{{
    {"CRC-16 (ARC)", "crc16-arc"},
    {"CRC-16/CCITT-FALSE", "crc16-ccitt-false"},
    {"CRC-32", "crc32"},
    {"CRC-32C", "crc32c"},
    {"Adler-32", "adler32"},
    {"SUM-8", "sum8"},
    {"SUM-16 (LE)", "sum16-le"},
    {"SUM-16 (BE)", "sum16-be"},
    {"SUM-32 (LE)", "sum32-le"},
    {"SUM-32 (BE)", "sum32-be"},
    {"MD5", "md5"},
    {"SHA-1", "sha1"},
    {"SHA-256", "sha256"},
    {"SHA-512", "sha512"},
    {"SHA3-256", "sha3-256"},
}};
} // namespace

std::vector<TVxChecksum> TVxChecksumKinds::All()
{
    std::vector<TVxChecksum> all;
    for (int i = 0; i < kCount; ++i)
        all.push_back(TVxChecksum(i));
    return all;
}

std::vector<TVxChecksum> TVxChecksumKinds::Defaults()
{
    return {TVxChecksum::Crc32, TVxChecksum::Md5, TVxChecksum::Sha1, TVxChecksum::Sha256};
}

std::string TVxChecksumKinds::Name(TVxChecksum kind) { return kInfo[size_t(kind)].Name; }

std::string TVxChecksumKinds::Key(TVxChecksum kind) { return kInfo[size_t(kind)].Key; }

std::vector<TVxChecksum> TVxChecksumKinds::FromKeys(const std::string &keys)
{
    std::vector<TVxChecksum> kinds;
    size_t start = 0;
    while (start <= keys.size()) {
        const size_t comma = std::min(keys.find(',', start), keys.size());
        const std::string key = keys.substr(start, comma - start);
        for (int i = 0; i < kCount; ++i)
            if (key == kInfo[size_t(i)].Key && std::find(kinds.begin(), kinds.end(), TVxChecksum(i)) == kinds.end())
                kinds.push_back(TVxChecksum(i));
        start = comma + 1;
    }
    std::sort(kinds.begin(), kinds.end());
    return kinds;
}

std::string TVxChecksumKinds::ToKeys(const std::vector<TVxChecksum> &kinds)
{
    std::string keys;
    for (TVxChecksum k : kinds)
        keys += (keys.empty() ? "" : ",") + Key(k);
    return keys;
}
