#pragma once
// What the byte values panel shows, as texts: the values of the bytes at the caret read as the
// usual binary types, the character at the caret, and the selection. Plain computation, no
// widgets and no document: the caller reads the bytes (at most 8 from the caret, fewer near
// the end of the document) and decodes the character, and gets one text per row and byte
// order back.
//
// A value that needs more bytes than there are before the end of the document is empty, and
// so is every value at the end position. Rows without a byte order keep their text in the
// little-endian slot and leave the big-endian one empty.
//
// Cost: a few conversions per row, no allocation beyond the texts. Called by TByteValuesPanel
// on every caret or selection move while the panel is shown.

#include <QString>

#include <cstdint>

class TByteValues {
public:
    enum TRow {
        rBinary,
        rInt8,
        rUInt8,
        rInt16,
        rUInt16,
        rInt32,
        rUInt32,
        rInt64,
        rUInt64,
        rFloat32,
        rFloat64,
        rChar,
        rSelStart,
        rSelEnd,
        rSelLength,
        kRowCount
    };
    enum TOrder { oLittle, oBig };

    // The character that holds the caret, as the character column decoded it.
    struct TCharAtCaret {
        bool Present = false; // false at the end position
        char32_t Code = 0;    // a code point, or TVxCharDecoder::kInvalid / kUnmapped
        int Span = 0;         // its bytes
        uint8_t Bytes[4] = {};
    };

    // bytes[0..count) stand at the caret (count 0..8); selStart..selEnd is the ordered
    // selection, -1 for none.
    void Compute(const uint8_t *bytes, int count, const TCharAtCaret &ch, int32_t selStart, int32_t selEnd);

    const QString &Text(TRow row, TOrder order = oLittle) const { return FText[row][order]; }
    static bool HasByteOrder(TRow row);
    static QString Caption(TRow row);

    // Shortest texts that read back to the same value; "NaN", "∞", "-∞" for the special ones.
    static QString FloatText(float v);
    static QString FloatText(double v);
    // "1,024 (0x400)".
    static QString OffsetText(int64_t n);

private:
    void ComputeChar(const TCharAtCaret &ch);

    QString FText[kRowCount][2];
};
