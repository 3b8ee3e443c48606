#pragma once
// Shaped glyphs for the cell painter, built once per font.
//
// A full repaint shows some thousand cells; shaping each cell's text anew would cost more
// than the whole paint may take. So the hexadecimal digits, ":" and "+" are shaped once
// (they always come from the primary face), and every character of the character column
// (a single byte or a CP932 pair) is shaped on first use, with Qt's font fallback, and kept.
//
// Each character is fitted into its cells: one cell (FCharWidth) for a single byte, two for
// a pair. A narrower glyph is centred, a wider one is squeezed (ScaleX < 1), so the columns
// never drift whichever faces the font resolves to. Positions are relative to the cell's
// top-left corner with the baseline at the primary face's ascent: text stands at the top of
// the cell.

#include <QFont>
#include <QGlyphRun>
#include <QRawFont>
#include <QStringDecoder>

#include <cstdint>
#include <unordered_map>
#include <vector>

class TVxGlyphCache {
public:
    struct TGlyphs {
        QRawFont Font;
        std::vector<quint32> Indexes;
        std::vector<QPointF> Positions; // relative to the fitted character's left edge
    };
    struct TChar {
        std::vector<TGlyphs> Parts; // one per face the fallback used; empty for no ink
        qreal ScaleX = 1.0;
    };

    TVxGlyphCache(const QFont &font, int charWidth);

    int CharWidth() const { return FCharWidth; }
    qreal Ascent() const { return FAscent; }
    // The primary face and the glyph of "0".."9", "A".."F" (0..15), ":" (16), "+" (17).
    const QRawFont &TextFont() const { return FTextFont; }
    quint32 DigitGlyph(int i) const { return FDigits[i]; }
    enum { kColon = 16, kPlus = 17 };

    // A character of the character column: `code` is a byte (0..255) or lead * 256 + trail
    // for a CP932 pair, `cells` the number of cells it owns (1 or 2).
    const TChar &Char(uint16_t code, int cells);

private:
    TChar Shape(const QString &text, int cells) const;

    QFont FFont;
    int FCharWidth;
    qreal FAscent = 0;
    QRawFont FTextFont;
    quint32 FDigits[18] = {};
    QStringDecoder FDecoder;
    std::unordered_map<uint32_t, TChar> FChars;
};
