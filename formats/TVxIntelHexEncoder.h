#pragma once
// A range as Intel HEX records: data records (type 00) of a fixed number of bytes, an
// extended linear address record (type 04) before the first record of every 64 KiB page
// above the first, and the end-of-file record (type 01). Records never cross a 64 KiB page,
// so a start address that is not a multiple of the record size costs a short record at each
// page boundary. Lines end in "\n".
//
// Cost: linear in the bytes, the text of a block written in place (TVxHexDigits); holds at
// most one record's bytes between blocks.
// Who calls: TVxExporter.

#include "TVxByteEncoder.h"

#include <vector>

class TVxIntelHexEncoder : public TVxByteEncoder {
public:
    // The range's first byte gets `startAddress`; `recordBytes` is 1 to 255. The caller has
    // checked that the range ends at or below 0xFFFFFFFF.
    TVxIntelHexEncoder(uint32_t startAddress, int recordBytes);

    void Begin(std::string &out) override;
    void Add(const uint8_t *data, size_t count, std::string &out) override;
    void Finish(std::string &out) override;

private:
    // Writes one record of count bytes at the current address (after an address record
    // when it starts a page); count does not cross a page. The pointer form writes at p,
    // which has room, and returns the end.
    void PutData(const uint8_t *data, size_t count, std::string &out);
    char *PutData(const uint8_t *data, size_t count, char *p);
    static char *PutRecord(uint8_t type, uint16_t offset, const uint8_t *data, size_t count, char *p);
    // How many bytes the next record may take: the record size, cut at the page's end.
    size_t NextRecordSize() const;

    uint64_t FAddress;
    int FRecordBytes;
    uint32_t FPage = 0;
    std::vector<uint8_t> FPending;
};
