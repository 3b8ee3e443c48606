#pragma once
// Bytes to upper-case hexadecimal digits and back, in bulk: the inner loops of the record
// formats, which spend nearly all their time here for files of hundreds of MiB. Sixteen
// bytes at a time with SSE2 (part of every x86-64 processor, so no check at run time), and
// decoded thirty-two digits at a time with AVX2 where the processor has it (checked once;
// not in the Windows build, whose tests therefore cover the SSE2 way); elsewhere, and for
// the tail of a run, a table lookup per byte.
//
// Cost: linear; no allocation, no state. Who calls: the Intel HEX and S-record encoders
// (Encode), TVxRecordReader (Decode).

#include <cstddef>
#include <cstdint>
#include <cstring>

class TVxHexDigits {
public:
    // Writes the 2 * count digits of data at out; returns the sum of the bytes (the record
    // formats' checksums are sums).
    static unsigned Encode(const uint8_t *data, size_t count, char *out);
    // Reads the 2 * count characters at text as count bytes (either letter case); returns
    // their sum, or -1 when any character is no hexadecimal digit (out is then undefined).
    // count is at most a few thousand, so the sum fits.
    static int Decode(const char *text, size_t count, uint8_t *out);

    // The byte the two characters at text give, -1 when either is no hexadecimal digit. For
    // one field, without the set-up of Decode.
    static int DecodeOne(const char *text)
    {
        const int hi = kValues[static_cast<uint8_t>(text[0])], lo = kValues[static_cast<uint8_t>(text[1])];
        return (hi | lo) < 0 ? -1 : hi << 4 | lo;
    }

    // The two digits of b at p; returns p + 2. For the fields around the data.
    static char *Put(char *p, uint8_t b)
    {
        std::memcpy(p, kPairs + 2 * b, 2);
        return p + 2;
    }

private:
    static const char kPairs[513];
    // The value of every character as a digit, -1 for none.
    static const int8_t kValues[256];
};
