#pragma once
// Bytes to characters for the character column, the byte values panel, the text copies and
// the search's check that a match is whole characters; one decoder per character code
// (TVxAsciiDecoder, TVxSjisDecoder, TVxEucJpDecoder, TVxUtf16Decoder, TVxUtf8Decoder,
// TVxJisDecoder, TVxTableDecoder). TVxCharDecoderFactory hands out the built-in ones.
//
// A decoder fills one TVxDecodedChar per input byte: where a character begins, its length
// in bytes and its code point; the other bytes of that character get Span 0. A byte that
// belongs to no character (an invalid or truncated sequence, a lead without its trail) is a
// unit of its own, Span 1 and Code kInvalid, and shows ".". So a character is drawn at the
// cell of its first byte and fitted into the cells of all its bytes, whatever the font.
//
// Input is a stretch of the document (bytes[0..count) holding offsets base..base+count-1)
// around the bytes of interest, which begin at index `first`: up to Lookback() bytes before
// it (fewer at the start of the document) and kMaxAfter after the last byte of interest, so
// that a character begun before `first` and one that begins at the last byte are both
// complete. Each decoder finds its own synchronisation point inside the look-back: a place
// where a character certainly begins (its header says which), so a stretch that begins
// inside a character never shifts the characters of interest. Bytes before that point are
// invalid units. TVxCharRun does the reading for the column.
//
// Cost: linear in count; a multi-byte table is looked up through the platform's converter
// once per code and then kept (TVxCodePageTable). Not thread-safe (the GUI thread only,
// like the rest of the control).

#include <cstdint>

struct TVxDecodedChar {
    uint8_t Span = 1;  // bytes of the character that begins here; 0 inside a character
    char32_t Code = 0; // its code point, kInvalid or kUnmapped
};

class TVxCharDecoder {
public:
    static constexpr char32_t kInvalid = 0xFFFFFFFF;  // not part of any character: "."
    static constexpr char32_t kUnmapped = 0xFFFFFFFE; // well-formed, but without a Unicode mapping
    static constexpr int kMaxLength = 8;              // the longest character of any code, in bytes
    static constexpr int kMaxAfter = kMaxLength - 1;

    virtual ~TVxCharDecoder() = default;

    // How many bytes before the bytes of interest this decoder wants to see.
    virtual int Lookback() const = 0;

    // Whether bytes[0..first) (offsets base..) already hold a place where a character
    // certainly begins, so that a decode of this stretch needs no more look-back. The search
    // reads a short stretch first and the whole look-back only when this says no.
    virtual bool SyncsWithin(const uint8_t *bytes, int32_t base, int first) const { return base == 0; }

    // Fills out[0..count).
    virtual void Decode(const uint8_t *bytes, int count, int32_t base, int first, TVxDecodedChar *out) const = 0;

    // What the column draws for a decoded code: "." for kInvalid and control characters
    // (C0, DEL, C1), KATAKANA MIDDLE DOT for a character that no face can show meaningfully
    // (kUnmapped, U+FFFD, private use), else the code itself.
    static char32_t Displayed(char32_t code);
    static bool IsControl(char32_t code) { return code < 0x20 || (code >= 0x7F && code <= 0x9F); }

protected:
    // Marks out[from..to) as invalid units.
    static void Invalidate(TVxDecodedChar *out, int from, int to);
    // A character of `span` bytes at out[i].
    static void Put(TVxDecodedChar *out, int i, int span, char32_t code);
};
