#pragma once
// Texts to ISO-2022-JP bytes, the inverse of TVxJisDecoder: what find, paste and typing use
// when the column shows the JIS code (through TVxTextCodec).
//
// ASCII is written as itself, half-width katakana (U+FF61..U+FF9F) after ESC ( I, every
// other character as its JIS X 0208 pair after ESC $ B: the pair is its EUC-JP form with
// the high bits cleared, and a character is taken only when that form is a JIS X 0208 pair
// which decodes back to the same character, so no look-alike is ever written in its place.
// An escape sequence is written only where the mode changes (ESC ( B back to ASCII), and a
// text that leaves ASCII ends in ASCII, so bytes written after it keep their meaning.
// TAB, LF and CR pass as ASCII; other control characters, JIS X 0212, characters outside
// JIS X 0208 and lone surrogates are refused.
//
// Cost: one converter call per non-ASCII character. Thread-safe (no state).

#include <cstddef>
#include <string>

class TVxJisEncoder {
public:
    // The bytes of text. False for a text holding a character that ISO-2022-JP cannot
    // carry: bad is then the index of the first such character in text (a UTF-16 index),
    // and bytes hold nothing useful.
    static bool Encode(const std::u16string &text, std::string &bytes, size_t &bad);
};
