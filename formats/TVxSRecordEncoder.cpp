#include "TVxSRecordEncoder.h"

#include "TVxHexDigits.h"

#include <algorithm>

TVxSRecordEncoder::TVxSRecordEncoder(uint32_t startAddress, int64_t total, int recordBytes, bool countRecord)
    : FStart(startAddress), FAddress(startAddress),
      FAddressBytes(AddressBytes(startAddress + static_cast<uint64_t>(std::max<int64_t>(total, 1)) - 1)),
      FRecordBytes(static_cast<size_t>(recordBytes)), FCountRecord(countRecord)
{
}

int TVxSRecordEncoder::AddressBytes(uint64_t highest) { return highest <= 0xFFFF ? 2 : highest <= 0xFFFFFF ? 3 : 4; }

void TVxSRecordEncoder::Begin(std::string &out) { PutRecord('0', 2, 0, nullptr, 0, out); }

void TVxSRecordEncoder::Add(const uint8_t *data, size_t count, std::string &out)
{
    if (!FPending.empty()) {
        const size_t take = std::min(count, FRecordBytes - FPending.size());
        FPending.insert(FPending.end(), data, data + take);
        data += take;
        count -= take;
        if (FPending.size() < FRecordBytes)
            return;
        PutData(FPending.data(), FPending.size(), out);
        FPending.clear();
    }
    for (; count >= FRecordBytes; data += FRecordBytes, count -= FRecordBytes)
        PutData(data, FRecordBytes, out);
    FPending.assign(data, data + count);
}

void TVxSRecordEncoder::PutData(const uint8_t *data, size_t count, std::string &out)
{
    PutRecord(static_cast<char>('1' + FAddressBytes - 2), FAddressBytes, static_cast<uint32_t>(FAddress), data, count,
              out);
    FAddress += count;
    ++FRecords;
}

void TVxSRecordEncoder::PutRecord(char type, int addressBytes, uint32_t address, const uint8_t *data, size_t count,
                                  std::string &out)
{
    const size_t length = static_cast<size_t>(addressBytes) + count + 1;
    // Built on the stack and appended once: cheaper than growing the text per field.
    char line[2 + 2 * 256 + 1];
    char *p = line;
    *p++ = 'S';
    *p++ = type;
    p = TVxHexDigits::Put(p, static_cast<uint8_t>(length));
    unsigned sum = static_cast<unsigned>(length);
    for (int i = addressBytes - 1; i >= 0; --i) {
        const auto b = static_cast<uint8_t>(address >> (8 * i));
        p = TVxHexDigits::Put(p, b);
        sum += b;
    }
    sum += TVxHexDigits::Encode(data, count, p);
    p += 2 * count;
    p = TVxHexDigits::Put(p, static_cast<uint8_t>(~sum));
    *p++ = '\n';
    out.append(line, static_cast<size_t>(p - line));
}

void TVxSRecordEncoder::Finish(std::string &out)
{
    if (!FPending.empty()) {
        PutData(FPending.data(), FPending.size(), out);
        FPending.clear();
    }
    if (FCountRecord && FRecords <= 0xFFFFFF)
        PutRecord(FRecords <= 0xFFFF ? '5' : '6', FRecords <= 0xFFFF ? 2 : 3, static_cast<uint32_t>(FRecords), nullptr,
                  0, out);
    PutRecord(static_cast<char>('9' - (FAddressBytes - 2)), FAddressBytes, FStart, nullptr, 0, out);
}
