#include "TVxIntelHexEncoder.h"

#include "TVxHexDigits.h"

#include <algorithm>

namespace {
// The longest line of a record of `bytes` data bytes: mark, 4 header bytes, data, checksum,
// line end.
constexpr size_t LineLength(size_t bytes) { return 1 + 2 * (4 + bytes + 1) + 1; }
} // namespace

TVxIntelHexEncoder::TVxIntelHexEncoder(uint32_t startAddress, int recordBytes)
    : FAddress(startAddress), FRecordBytes(recordBytes)
{
}

void TVxIntelHexEncoder::Begin(std::string &) {}

size_t TVxIntelHexEncoder::NextRecordSize() const
{
    const uint64_t pageLeft = 0x10000 - (FAddress & 0xFFFF);
    return static_cast<size_t>(std::min<uint64_t>(static_cast<uint64_t>(FRecordBytes), pageLeft));
}

void TVxIntelHexEncoder::Add(const uint8_t *data, size_t count, std::string &out)
{
    // Records are cut at the same places whatever the block sizes the caller feeds.
    while (!FPending.empty() && count > 0) {
        const size_t take = std::min(count, NextRecordSize() - FPending.size());
        FPending.insert(FPending.end(), data, data + take);
        data += take;
        count -= take;
        if (FPending.size() == NextRecordSize()) {
            PutData(FPending.data(), FPending.size(), out);
            FPending.clear();
        }
    }
    if (count == 0)
        return;
    // The text of the whole block is written in place: room for every record (one more at
    // each page boundary, where records are cut short) and an address record per page.
    const size_t pages = count / 0x10000 + 2;
    const size_t bound = (count / size_t(FRecordBytes) + pages) * LineLength(size_t(FRecordBytes)) +
                         pages * LineLength(2);
    const size_t at = out.size();
    out.resize(at + bound);
    char *p = &out[at];
    while (count > 0) {
        const size_t size = NextRecordSize();
        if (count < size) {
            FPending.assign(data, data + count);
            break;
        }
        p = PutData(data, size, p);
        data += size;
        count -= size;
    }
    out.resize(static_cast<size_t>(p - out.data()));
}

void TVxIntelHexEncoder::PutData(const uint8_t *data, size_t count, std::string &out)
{
    char line[2 * LineLength(255)];
    out.append(line, static_cast<size_t>(PutData(data, count, line) - line));
}

char *TVxIntelHexEncoder::PutData(const uint8_t *data, size_t count, char *p)
{
    const auto page = static_cast<uint32_t>(FAddress >> 16);
    if (page != FPage) {
        const uint8_t upper[2] = {static_cast<uint8_t>(page >> 8), static_cast<uint8_t>(page)};
        p = PutRecord(0x04, 0, upper, 2, p);
        FPage = page;
    }
    p = PutRecord(0x00, static_cast<uint16_t>(FAddress & 0xFFFF), data, count, p);
    FAddress += count;
    return p;
}

char *TVxIntelHexEncoder::PutRecord(uint8_t type, uint16_t offset, const uint8_t *data, size_t count, char *p)
{
    *p++ = ':';
    const uint8_t head[4] = {static_cast<uint8_t>(count), static_cast<uint8_t>(offset >> 8),
                             static_cast<uint8_t>(offset), type};
    unsigned sum = TVxHexDigits::Encode(head, 4, p);
    p += 8;
    sum += TVxHexDigits::Encode(data, count, p);
    p += 2 * count;
    p = TVxHexDigits::Put(p, static_cast<uint8_t>(-sum));
    *p++ = '\n';
    return p;
}

void TVxIntelHexEncoder::Finish(std::string &out)
{
    if (!FPending.empty()) {
        PutData(FPending.data(), FPending.size(), out);
        FPending.clear();
    }
    char line[LineLength(0)];
    out.append(line, static_cast<size_t>(PutRecord(0x01, 0, nullptr, 0, line) - line));
}
