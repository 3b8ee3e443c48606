#include "TVxSearchRecord.h"

#include "TVxShareMemStream.h"

#include <algorithm>
#include <cstring>

static_assert(2 + TVxSearchRecord::kMaxText + 1 <= TVxSearchRecord::kHexOffset, "the text never reaches the hex flag");

TVxSearchRecord::TBytes TVxSearchRecord::Encode(const std::string &text, bool ignoreCase, bool hex)
{
    TBytes out{};
    size_t n = std::min(text.size(), size_t(kMaxText));
    if (const void *zero = std::memchr(text.data(), 0, n))
        n = static_cast<size_t>(static_cast<const char *>(zero) - text.data());
    out[0] = static_cast<uint8_t>(n + 1);
    out[1] = ignoreCase ? 1 : 0;
    std::memcpy(out.data() + 2, text.data(), n);
    out[kHexOffset] = hex ? 1 : 0;
    return out; // the terminating zero and the unused rest are the zeros of out{}
}

TVxSearchRecord TVxSearchRecord::Decode(const uint8_t *bytes, size_t length)
{
    TVxSearchRecord record;
    if (length < 2)
        return record;
    record.IgnoreCase = bytes[1] != 0;
    const size_t counted = std::min({size_t(bytes[0]), length - 2, size_t(kMaxText)});
    const uint8_t *text = bytes + 2;
    const void *zero = std::memchr(text, 0, counted);
    const size_t n = zero ? static_cast<size_t>(static_cast<const uint8_t *>(zero) - text) : counted;
    record.Text.assign(reinterpret_cast<const char *>(text), n);
    record.Hex = length > size_t(kHexOffset) && bytes[kHexOffset] != 0;
    return record;
}

void TVxSearchRecord::Store(TVxShareMemStream &block, const std::string &text, bool ignoreCase, bool hex)
{
    const TBytes bytes = Encode(text, ignoreCase, hex);
    block.SetPosition(0);
    block.Write(bytes.data(), kSize);
}

TVxSearchRecord TVxSearchRecord::Load(TVxShareMemStream &block)
{
    TBytes bytes{};
    block.SetPosition(0);
    const int32_t n = block.Read(bytes.data(), kSize);
    return Decode(bytes.data(), static_cast<size_t>(n));
}
