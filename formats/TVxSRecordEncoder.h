#pragma once
// A range as Motorola S-records: an S0 header, data records of a fixed number of bytes with
// the shortest address that reaches the range's highest address (S1: 16 bits, S2: 24, S3:
// 32), optionally the count of data records (S5, or S6 beyond 65535; none beyond 2^24 - 1,
// which no count record can hold), and the end record of the same address size (S9, S8, S7)
// carrying the range's start address. Lines end in "\n".
//
// Cost: linear in the bytes; holds at most one record's bytes between blocks.
// Who calls: TVxExporter.

#include "TVxByteEncoder.h"

#include <vector>

class TVxSRecordEncoder : public TVxByteEncoder {
public:
    // The range's first byte gets `startAddress`; `total` bytes follow (the caller has checked
    // that they end at or below 0xFFFFFFFF); `recordBytes` is 1 to 250.
    TVxSRecordEncoder(uint32_t startAddress, int64_t total, int recordBytes, bool countRecord);

    void Begin(std::string &out) override;
    void Add(const uint8_t *data, size_t count, std::string &out) override;
    void Finish(std::string &out) override;

    // The address size in bytes (2, 3 or 4) of a range whose highest address is `highest`.
    static int AddressBytes(uint64_t highest);

private:
    void PutData(const uint8_t *data, size_t count, std::string &out);
    static void PutRecord(char type, int addressBytes, uint32_t address, const uint8_t *data, size_t count,
                          std::string &out);

    uint32_t FStart;
    uint64_t FAddress;
    int FAddressBytes;
    size_t FRecordBytes;
    bool FCountRecord;
    int64_t FRecords = 0;
    std::vector<uint8_t> FPending;
};
