#include "TFileHandle.h"

#include <algorithm>

std::optional<std::string> TFileHandle::ReadAll(size_t maxBytes) const
{
    std::string bytes(size_t(std::min<uint64_t>(uint64_t(std::max<int64_t>(Length(), 0)), maxBytes)) + 1, '\0');
    size_t have = 0;
    for (;;) {
        if (have == bytes.size())
            bytes.resize(bytes.size() * 2);
        const size_t got = ReadAt(int64_t(have), &bytes[have], bytes.size() - have);
        if (got == 0)
            break;
        have += got;
        if (have > maxBytes)
            return std::nullopt;
    }
    bytes.resize(have);
    return bytes;
}
