#pragma once
// A printed line's printable ASCII (its dump line and the ASCII runs of its character text)
// as one run of positioned glyphs, drawn with one QPainter::drawGlyphRun.
//
// Why: on Qt's PDF output every drawn text item opens a text object, and every glyph in it,
// blanks included, costs a positioning operator that is then compressed; shaping each
// string costs as much again. One glyph run per line, without the blanks (they put no ink
// on paper) and without shaping, halves that work, and a job of 65,536 lines is mostly that.
//
// The glyphs and their places are exactly those drawText would use: glyph indexes and the
// advance come from shaping all printable ASCII once with the painter's font on its
// device, and a character n cells into a string drawn at x stands at x + n × advance, as
// the shaper's own sums put it. That holds only for a font that gives every printable
// ASCII character a glyph of its own with one common advance, no fallback face, and no
// underline, overline or strike-out (their lines would run across the skipped blanks);
// for any other font Usable() is false and the caller draws text as usual.

#include <QGlyphRun>
#include <QList>
#include <QPointF>
#include <QRawFont>
#include <QVector>

class QPainter;

class TPrintGlyphLine {
public:
    // Prepares for the painter's current font on its device (the painter must be active).
    explicit TPrintGlyphLine(QPainter &painter);

    bool Usable() const { return FUsable; }
    // The common advance of the font's printable ASCII, device units.
    qreal Advance() const { return FAdvance; }

    void Clear();
    // Adds `count` printable ASCII characters drawn from pen position x on the baseline;
    // blanks are skipped.
    void Add(qreal x, qreal baseline, const char *text, int count);
    // Draws what was added since Clear (nothing when nothing was added).
    void Draw(QPainter &painter);

    // What was added, for checking it against the shaper.
    const QVector<quint32> &Glyphs() const { return FGlyphs; }
    const QVector<QPointF> &Positions() const { return FPositions; }

private:
    bool FUsable = false;
    qreal FAdvance = 0;
    quint32 FGlyph[128] = {};
    QRawFont FFont;
    QGlyphRun FRun;
    QVector<quint32> FGlyphs;
    QVector<QPointF> FPositions;
};
