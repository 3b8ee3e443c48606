#pragma once
// Japanese text in the program's two multi-byte code pages, to and from UTF-16, through the
// system's own converter. Who calls: the character column (one character at a time), the
// printed pages (one or two bytes at a time), and the texts the user types, pastes or
// searches for (whole texts in Shift-JIS).
//
// The code pages:
//   ShiftJis  Microsoft's Shift-JIS (CP932): JIS X 0208 with the NEC and IBM rows.
//   EucJp     EUC-JP: ASCII, JIS X 0208 as two bytes 0xA1..0xFE, half-width katakana as 0x8E
//             plus 0xA1..0xDF, JIS X 0212 as 0x8F plus two bytes 0xA1..0xFE. A JIS X 0208
//             character decodes as its Shift-JIS form does (so 0xA1C1 is U+FF5E, as 0x8160),
//             the same character showing the same in both columns.
// POSIX: ICU's tables behind Qt ("Shift_JIS", "EUC-JP"). Windows: code page 932; EUC-JP
// through 932 by JIS row and cell, and 20932 for JIS X 0212 (20932's own JIS X 0208 table
// departs from CP932's, and it knows no 0x8F form: its JIS X 0212 are a lead byte with a trail
// 0x21..0x7E).
//
// Decode never fails as a whole and keeps no state between calls:
//   - a well-formed sequence without a character gives U+FFFD;
//   - a byte that cannot start a character, or a lead byte whose next byte cannot follow it,
//     gives one substitute for that byte and decoding goes on at the next byte; the
//     substitute is U+001A on POSIX (ICU's), U+FFFD on Windows;
//   - a lead byte cut off by the end of the input is dropped on POSIX (as ICU does), gives
//     U+FFFD on Windows.
// Callers that need one character take U+001A and U+FFFD both as "no character". The control
// bytes are the system's: ICU's Shift-JIS swaps 0x1A, 0x1C and 0x7F (IBM's control layout),
// Windows keeps every control byte as itself.
//
// Encode never fails either: a character the code page lacks (and a lone surrogate) becomes
// the system's substitute, 0xFC 0xFC on POSIX (ICU's for Shift-JIS), '?' on Windows; no
// look-alike is chosen in its place.
//
// Thread-safe: the POSIX converters are per thread.

#include <cstddef>
#include <string>

class TCodePageText {
public:
    enum class TCode { ShiftJis, EucJp };

    static std::u16string Decode(TCode code, const char *bytes, size_t count);
    static std::u16string Decode(TCode code, const std::string &bytes) { return Decode(code, bytes.data(), bytes.size()); }
    static std::string Encode(TCode code, const char16_t *text, size_t length);
    static std::string Encode(TCode code, const std::u16string &text) { return Encode(code, text.data(), text.size()); }
};
