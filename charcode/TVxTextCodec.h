#pragma once
// Texts to bytes and bytes to texts in the code the character column shows: what find and
// replace (text mode), copy, copy as text, string input, text paste and typing into the
// character column use. One codec per code; a character table is a code of its own.
//
//   ccASCII, ccSJIS  text -> bytes as CP932, the system code page in which typed texts have
//                    always become bytes; bytes -> text through the column's filter.
//   ccEUC            EUC-JP with CP932's JIS X 0208 mappings (TCodePageText).
//   ccUNICODE        UTF-16 little-endian.   ccUTF8  UTF-8.
//   ccJIS            ISO-2022-JP (TVxJisEncoder); a text that leaves ASCII ends with ESC ( B.
//   ccTable          the loaded character table, longest match first (TVxCharTable).
//
// Encode refuses a text with a character the code cannot carry (and a lone surrogate): it
// returns false and names the character's index, so the caller can say which one and
// insert nothing. What it returns decodes back to the same text with Decoder() (checked
// by round trip for the converters' codes and tables, so no look-alike is ever written in
// its place, and no table entries that would run together into another entry).
//
// Decode gives the text as the column shows it: each character that begins in the bytes,
// "." for a byte of no character and for control characters (line feed and carriage return
// kept when asked), KATAKANA MIDDLE DOT for a character without a face. ASCII and Shift-JIS
// give TVxTextFilter's text decoded as CP932, as the clipboard always had it.
//
// Cost: linear in the text; the converters' codes convert the text at once and then check
// it. Not thread-safe (the decoders' tables fill on first use): GUI thread only.

#include "TVxTextFilter.h"

#include <cstdint>
#include <memory>
#include <string>

class TVxCharDecoder;
class TVxCharTable;

class TVxTextCodec {
public:
    // The codec of a built-in code; ccTable without a table is ASCII's.
    explicit TVxTextCodec(TVxCharCode code = ccASCII);
    // The codec of a character table (never null).
    explicit TVxTextCodec(std::shared_ptr<const TVxCharTable> table);

    TVxCharCode Code() const { return FCode; }
    const TVxCharDecoder &Decoder() const { return *FDecoder; }
    const TVxCharTable *Table() const { return FTable.get(); }
    // The codes that the Parts of the column define keep their byte-for-byte search and
    // copy; the others match whole characters only.
    bool IsByteCode() const { return FCode == ccASCII || FCode == ccSJIS; }

    bool Encode(const std::u16string &text, std::string &bytes, size_t &bad) const;
    std::u16string Decode(const uint8_t *bytes, size_t count, bool keepLineBreaks) const;
    // The characters that begin in bytes[first..end), with bytes[0..first) as the look-back
    // before them and bytes[end..count) completing the last one (offsets base.. of the
    // document), so a stretch cut out of a document reads as the column shows it. The byte
    // codes have no look-back: their text is the filter's of bytes[first..end).
    std::u16string Decode(const uint8_t *bytes, size_t count, int32_t base, size_t first, size_t end,
                          bool keepLineBreaks) const;

    // The bytes of `text` to be written where before[0..count) end (the document's bytes up to
    // that place; JIS looks for the last escape sequence in them). JIS: a text written into a
    // run of another mode starts with its own escape and ends with the escape of that mode,
    // so the characters after it read as before. Every other code: Encode.
    bool EncodeAt(const std::u16string &text, const uint8_t *before, size_t count, std::string &bytes,
                  size_t &bad) const;
    std::string EncodeAtOrThrow(const std::u16string &text, const uint8_t *before, size_t count) const;
    // Encode, or TVxError TextNotEncodable naming the character and the code.
    std::string EncodeOrThrow(const std::u16string &text) const;
    // The code's name for messages: "EUC-JP", "UTF-8" ...; "table" for a character table.
    std::string Name() const;

    // The program keeps texts as UTF-8 between its layers; these convert (an ill-formed
    // sequence or a lone surrogate becomes U+FFFD).
    static std::u16string FromUtf8(const std::string &text);
    static std::string ToUtf8(const std::u16string &text);

private:
    // Whether `bytes`, the encoding of `text`, decode to it again; else `bad` where not.
    bool ReadsBack(const std::u16string &text, const std::string &bytes, size_t &bad) const;

    TVxCharCode FCode;
    std::shared_ptr<const TVxCharTable> FTable;
    std::shared_ptr<const TVxCharDecoder> FDecoder;
};
