#pragma once
// The character part of a dump line for the codes beyond ASCII and Shift-JIS: the 16 bytes
// of one row as the character column shows them (with the decoder's look-back, so a row in
// the middle of a long run of two-byte characters reads right), a blank for each byte of the
// row outside the range. A character is written at its first byte; its other bytes add
// nothing, so the part is as wide as the screen's column only where characters are one
// byte each.
//
// Who calls: copy as text. Cost: one read of the row and its context (no cache move).

#include <cstdint>
#include <string>

class TVxDocument;
class TVxTextCodec;

class TVxDumpChars {
public:
    static std::u16string Line(const TVxDocument &doc, const TVxTextCodec &codec, int32_t rangeStart,
                               int32_t rangeEnd, int32_t line);
};
