#include "TPrintGlyphLine.h"

#include <QPainter>
#include <QTextLayout>

TPrintGlyphLine::TPrintGlyphLine(QPainter &painter)
{
    const QFont font = painter.font();
    if (font.underline() || font.overline() || font.strikeOut())
        return;
    QString sample;
    for (char16_t c = 0x20; c <= 0x7E; ++c)
        sample += QChar(c);
    QTextLayout layout(sample, font, painter.device());
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(1e9);
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    // More than one run: a fallback face drew part of it. Fewer glyphs: ligatures.
    if (runs.size() != 1 || runs[0].glyphIndexes().size() != sample.size())
        return;
    const QVector<quint32> glyphs = runs[0].glyphIndexes();
    const QVector<QPointF> at = runs[0].positions();
    FAdvance = at[1].x() - at[0].x();
    for (qsizetype i = 0; i < sample.size(); ++i) {
        const qreal next = i + 1 < sample.size() ? at[i + 1].x() : at[0].x() + line.naturalTextWidth();
        if (glyphs[i] == 0 || next - at[i].x() != FAdvance || at[i].y() != at[0].y())
            return;
        FGlyph[0x20 + i] = glyphs[i];
    }
    FFont = runs[0].rawFont();
    FRun.setRawFont(FFont);
    FUsable = FAdvance > 0;
}

void TPrintGlyphLine::Clear()
{
    FGlyphs.clear();
    FPositions.clear();
}

void TPrintGlyphLine::Add(qreal x, qreal baseline, const char *text, int count)
{
    for (int i = 0; i < count; ++i) {
        const auto c = static_cast<uint8_t>(text[i]);
        if (c == ' ')
            continue;
        FGlyphs.append(FGlyph[c & 0x7F]);
        FPositions.append(QPointF(x + i * FAdvance, baseline));
    }
}

void TPrintGlyphLine::Draw(QPainter &painter)
{
    if (FGlyphs.isEmpty())
        return;
    FRun.setGlyphIndexes(FGlyphs);
    FRun.setPositions(FPositions);
    painter.drawGlyphRun(QPointF(0, 0), FRun);
}
