#pragma once
// Reads the lines of an Intel HEX or Motorola S-record file and checks each record
// completely: the record mark, hexadecimal digits, the length against the digits present,
// the checksum, the type, and the address fields of the records that carry no data.
//
// Intel HEX: types 00 (data), 01 (end of file), 02 and 04 (extended segment and linear
// address: later data is relative to them), 03 and 05 (start addresses, ignored). Data is
// placed linearly from the base (a record running past a 64 KiB page is not wrapped).
// S-records: S0 (header, ignored), S1/S2/S3 (data with 16/24/32-bit addresses), S5/S6
// (the count of data records so far, checked), S7/S8/S9 (end). S4 is no record.
//
// A blank line (spaces, tabs, a carriage return) is no record.
//
// Reading is two steps. DecodeLine (or DecodeWhole, which finds the line's end in a block
// of text: TVxRecordLines) does what needs no other line: blanks, the record mark, the
// digits, without state and without throwing. Interpret gives the decoded line its
// meaning, which depends on the lines before it (the base address, the count of data
// records). Read does both for one line of text.
//
// Cost: linear in the line. Errors: TVxFormatError naming the line. Who calls: TVxImporter
// and TVxRecordLines; the fuzz target and tests read line by line with Read.

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

    // A line with its digits decoded.
    struct TLine {
        enum TState : uint8_t { Record, Blank, Fault };
        TState State = Blank;
        // A record: its type character (S-records); a fault: its TVxFormatErrorKind.
        uint8_t Detail = 0;
        // How many of Bytes a record has: from the length field to the checksum.
        uint16_t Count = 0;
        // Their sum, which the checksums are made from.
        uint32_t Sum = 0;
        uint8_t Bytes[kMaxLine / 2];
    };

    explicit TVxRecordReader(TFormat format);

    // Decodes `text`, a line without its line end, into out. Never throws: a fault is in
    // the line.
    static void DecodeLine(TFormat format, const char *text, size_t length, TLine &out);
    // The common case without looking for the line end: when the text at text is a record of
    // hexadecimal digits only, as long as its length field says, and ended by "\n" or "\r\n"
    // before end, decodes it as DecodeLine would, into out, and sets `used` to its length
    // with the line end. Otherwise returns false (out is then undefined), and the caller
    // finds the line's end and calls DecodeLine. Files written by tools are all such lines.
    static bool DecodeWhole(TFormat format, const char *text, const char *end, TLine &out, size_t &used);

    // The record of the decoded line `decoded`, which is line `line` (from 1) of the file,
    // into r; throws TVxFormatError for a fault or a record that is wrong. r.Bytes points
    // into `decoded`. Lines are interpreted in order. Filled in place rather than returned:
    // a returned record is copied in halves of 16 bytes that the processor cannot forward
    // from the stores of its fields, a stall per line.
    void Interpret(const TLine &decoded, int64_t line, TRecord &r);

    // DecodeLine and Interpret: the record of one line of text; r.Bytes points into the
    // reader until the next Read.
    TRecord Read(const char *text, size_t length, int64_t line);

private:
    void InterpretIntelHex(const TLine &decoded, int64_t line, TRecord &r);
    void InterpretSRecord(const TLine &decoded, int64_t line, TRecord &r);

    TFormat FFormat;
    // Read's decoded line.
    TLine FLine;
    // Intel HEX: the base address that types 02 and 04 set.
    uint64_t FBase = 0;
    // S-records: data records read so far, for the count records.
    int64_t FDataRecords = 0;
};
