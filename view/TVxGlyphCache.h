#pragma once
// Shaped glyphs for the cell painter, built once per font.
//
// A full repaint shows some thousand cells; shaping each cell's text anew would cost more
// than the whole paint may take. So the hexadecimal digits, ":" and "+" are shaped once
// (they always come from the primary face), and every character of the character column
// (a code point, whatever code it was decoded from) is shaped on first use, with Qt's font
// fallback, and kept.
//
// Each character is fitted into its cells, one per byte it was encoded in (FCharWidth each).
// A narrower glyph is centred, a wider one is squeezed (ScaleX < 1), so the columns
// never drift whichever faces the font resolves to. Positions are relative to the cell's
// top-left corner with the baseline at the primary face's ascent: text stands at the top of
// the cell.

#include <QFont>
#include <QGlyphRun>
#include <QRawFont>

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
    enum { kColon = 16, kPlus = 17, kDigitGlyphs = 18 };

    // A character of the character column, as TVxCharDecoder::Displayed gives it, fitted
    // into `cells` cells (1 to 4).
    const TChar &Char(char32_t code, int cells);

private:
    TChar Shape(const QString &text, int cells) const;

    QFont FFont;
    int FCharWidth;
    qreal FAscent = 0;
    QRawFont FTextFont;
    quint32 FDigits[kDigitGlyphs] = {};
    std::unordered_map<uint32_t, TChar> FChars; // by code point << 3 | cells
};
