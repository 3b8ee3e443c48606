#pragma once
// Reads the lines of an Intel HEX or Motorola S-record file one at a time and checks each
// record completely: the record mark, hexadecimal digits, the length against the digits
// present, the checksum, the type, and the address fields of the records that carry no data.
//
// Intel HEX: types 00 (data), 01 (end of file), 02 and 04 (extended segment and linear
// address: later data is relative to them), 03 and 05 (start addresses, ignored). Data is
// placed linearly from the base (a record running past a 64 KiB page is not wrapped).
// S-records: S0 (header, ignored), S1/S2/S3 (data with 16/24/32-bit addresses), S5/S6
// (the count of data records so far, checked), S7/S8/S9 (end). S4 is no record.
//
// A blank line (spaces, tabs, a carriage return) is no record. Cost: linear in the line; the
// record's bytes live in the reader until the next Read.
//
// Errors: TVxFormatError naming the line. Who calls: TVxImporter, line by line.

#include <cstddef>
#include <cstdint>

class TVxRecordReader {
public:
    enum class TFormat { IntelHex, SRecord };

    struct TRecord {
        bool Data = false;
        bool End = false;
        uint64_t Address = 0;
        const uint8_t *Bytes = nullptr;
        size_t Count = 0;
    };

    // The longest line that can hold a record (255 data bytes and the fields around them,
    // with room for trailing blanks).
    static constexpr size_t kMaxLine = 600;

    explicit TVxRecordReader(TFormat format);

    // `text` is the line without its line end; `line` counts from 1.
    TRecord Read(const char *text, size_t length, int64_t line);

private:
    // Decodes the digits after the record mark into FBytes; throws for a character that is
    // no hexadecimal digit, or an odd count of them.
    void Decode(const char *text, size_t length, int64_t line);
    TRecord ReadIntelHex(int64_t line);
    TRecord ReadSRecord(char type, int64_t line);

    TFormat FFormat;
    // The record's bytes (FCount of them), from the length field to the checksum.
    uint8_t FBytes[kMaxLine / 2];
    size_t FCount = 0;
    // The sum of the FCount bytes, which the checksums are made from.
    unsigned FSum = 0;
    // Intel HEX: the base address that types 02 and 04 set.
    uint64_t FBase = 0;
    // S-records: data records read so far, for the count records.
    int64_t FDataRecords = 0;
};
