#include "TVxIntelHexEncoder.h"

#include "TVxTextEncoder.h"

#include <algorithm>

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
    while (count > 0) {
        const size_t size = NextRecordSize();
        if (count < size) {
            FPending.assign(data, data + count);
            return;
        }
        PutData(data, size, out);
        data += size;
        count -= size;
    }
}

void TVxIntelHexEncoder::PutData(const uint8_t *data, size_t count, std::string &out)
{
    const auto page = static_cast<uint32_t>(FAddress >> 16);
    if (page != FPage) {
        const uint8_t upper[2] = {static_cast<uint8_t>(page >> 8), static_cast<uint8_t>(page)};
        PutRecord(0x04, 0, upper, 2, out);
        FPage = page;
    }
    PutRecord(0x00, static_cast<uint16_t>(FAddress & 0xFFFF), data, count, out);
    FAddress += count;
}

void TVxIntelHexEncoder::PutRecord(uint8_t type, uint16_t offset, const uint8_t *data, size_t count, std::string &out)
{
    // Built on the stack and appended once: cheaper than growing the text per field.
    char line[1 + 2 * (4 + 255 + 1) + 1];
    char *p = line;
    *p++ = ':';
    const uint8_t head[4] = {static_cast<uint8_t>(count), static_cast<uint8_t>(offset >> 8),
                             static_cast<uint8_t>(offset), type};
    unsigned sum = 0;
    for (uint8_t b : head) {
        p = TVxTextEncoder::PutHex(p, b);
        sum += b;
    }
    for (size_t i = 0; i < count; ++i) {
        p = TVxTextEncoder::PutHex(p, data[i]);
        sum += data[i];
    }
    p = TVxTextEncoder::PutHex(p, static_cast<uint8_t>(-sum));
    *p++ = '\n';
    out.append(line, static_cast<size_t>(p - line));
}

void TVxIntelHexEncoder::Finish(std::string &out)
{
    if (!FPending.empty()) {
        PutData(FPending.data(), FPending.size(), out);
        FPending.clear();
    }
    PutRecord(0x01, 0, nullptr, 0, out);
}
