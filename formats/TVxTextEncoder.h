#pragma once
// The bytes of a range as text for programs and programmers: a C array, a string of
// hexadecimal digits, Base64, or a Python bytes literal (see TKind for the exact forms).
// Lines end in "\n". Cost: linear, a table lookup per byte; no state beyond a line's column
// and Base64's last two bytes.
//
// Who calls: TVxExporter (C array and Base64 files) and the copy-as commands of the program.

#include "TVxByteEncoder.h"


class TVxTextEncoder : public TVxByteEncoder {
public:
    enum class TKind {
        // "unsigned char data[N] = {", lines of 16 values "    0x12, 0x34, ...", "};"
        CArray,
        // "1234ABCD": upper-case digits, nothing between them.
        HexString,
        // The standard alphabet with '=' padding, lines of 76 characters.
        Base64,
        // b'\x12\x34': every byte escaped, so the text is the same whatever the bytes.
        Python,
    };
    // `total`: the range's length, which the C array names and which tells its last value.
    TVxTextEncoder(TKind kind, int64_t total);

    void Begin(std::string &out) override;
    void Add(const uint8_t *data, size_t count, std::string &out) override;
    void Finish(std::string &out) override;

private:
    void AddBase64(const uint8_t *data, size_t count, std::string &out);
    void PutBase64Line(const char *chars, size_t n, std::string &out);

    TKind FKind;
    int64_t FTotal;
    int64_t FDone = 0;
    // Base64: bytes waiting for a group of three, and the characters on the current line.
    uint8_t FCarry[2] = {0, 0};
    int FCarryCount = 0;
    int FColumn = 0;
};
