#pragma once
// Bytes to displayable characters, by character code: the clipboard's text form, the printed
// text column and the search see a document's bytes through this one filter, and the grid's
// Shift-JIS decoder builds on its spans. Plain C++, no Qt.
//
// FilterText returns one output byte per input byte: a byte that can be shown stays, any
// other becomes "." (0x2E). With ccSJIS a double-byte character stays as its two bytes
// (lead and trail); decoding them to a character is the caller's business (CP932). The
// optional spans tell the caller where characters begin, so that a character can be drawn
// at the cell of its first byte whatever the font's advances are.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// ccUTF8 and ccTable (a character table the user loaded) come after the first five, so that
// their numbers stay as they are. Only ccASCII and ccSJIS have a filter here; the others pass
// bytes through (every code is decoded by charcode/, TVxCharDecoder and TVxTextCodec).
enum TVxCharCode : int { ccASCII, ccSJIS, ccJIS, ccEUC, ccUNICODE, ccUTF8, ccTable };

class TVxTextFilter {
public:
    // Character length at each output position, written to `spans` when given:
    enum : uint8_t {
        kTrail = 0,  // second byte of a double-byte character
        kSingle = 1, // a character of its own (also "." and a lead byte left alone)
        kPair = 2,   // first byte of a double-byte character
    };

    static std::string FilterText(const uint8_t *bytes, size_t count, TVxCharCode code, bool keepLineBreaks,
                                  uint8_t *spans = nullptr);
    static std::string FilterText(const std::vector<uint8_t> &bytes, TVxCharCode code, bool keepLineBreaks)
    {
        return FilterText(bytes.data(), bytes.size(), code, keepLineBreaks);
    }

    // CP932 classification.
    static bool IsLeadByte(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
    static bool IsTrailByte(uint8_t b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }
    static bool IsHalfWidthKatakana(uint8_t b) { return b >= 0xA1 && b <= 0xDF; }

private:
    static void FilterAscii(const uint8_t *bytes, size_t count, bool keepLineBreaks, char *out);
    static void FilterSjis(const uint8_t *bytes, size_t count, bool keepLineBreaks, char *out, uint8_t *spans);
};
