#pragma once
// Why a file in an exchange format could not be read, or a range could not be written in
// one: typed, with the line of the input it concerns, never words for a user (the program
// words it, app/formats). what() is a plain technical text for logs and tests.
//
// Who throws: TVxRecordReader and TVxImporter while reading, TVxExporter when the range does
// not fit the format's addresses. Who reads Kind and Line: the program, to choose its words.

#include <cstdint>
#include <stdexcept>

enum class TVxFormatErrorKind {
    // A character that does not belong (no record mark at the start, a digit that is not
    // hexadecimal, an odd number of digits).
    BadCharacter,
    // The record is shorter or longer than its length field says, or too long to be a record.
    BadLength,
    // The record's checksum does not match its bytes.
    BadChecksum,
    // A record type the format does not have.
    BadType,
    // An address field that is wrong for its record (an extended address with data, an
    // address record of the wrong size), or data reaching past the format's 4 GiB.
    BadAddress,
    // A count record (S5/S6) that does not match the number of data records before it.
    BadCount,
    // Two records give bytes for the same address.
    Overlap,
    // The image from the lowest to the highest address is larger than a document can be.
    TooLarge,
    // The input ends without its end record (Line is the last line).
    MissingEnd,
    // No record holds data.
    NoData,
    // Exporting: the start address plus the range's length goes past what the format can
    // address (4 GiB).
    AddressTooHigh,
};

class TVxFormatError : public std::runtime_error {
public:
    // `line` counts from 1; 0 when the error concerns no line.
    TVxFormatError(TVxFormatErrorKind kind, int64_t line);

    TVxFormatErrorKind Kind() const { return FKind; }
    int64_t Line() const { return FLine; }

private:
    TVxFormatErrorKind FKind;
    int64_t FLine;
};
