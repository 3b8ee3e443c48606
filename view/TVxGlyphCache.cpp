#include "TVxGlyphCache.h"

#include <QFontMetricsF>
#include <QTextLayout>

namespace {
// Shapes `text` on one line; the runs carry positions with the baseline at line.ascent().
QList<QGlyphRun> Layout(const QString &text, const QFont &font, qreal &width, qreal &ascent)
{
    QTextLayout layout(text, font);
    layout.setCacheEnabled(true);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(1e6);
    layout.endLayout();
    width = line.naturalTextWidth();
    ascent = line.ascent();
    return layout.glyphRuns();
}
} // namespace

TVxGlyphCache::TVxGlyphCache(const QFont &font, int charWidth)
    : FFont(font), FCharWidth(charWidth)
{
    FAscent = QFontMetricsF(font).ascent();
    static const QString kDigits = QStringLiteral("0123456789ABCDEF:+");
    qreal width = 0, ascent = 0;
    const QList<QGlyphRun> runs = Layout(kDigits, font, width, ascent);
    if (!runs.isEmpty()) {
        FTextFont = runs.first().rawFont();
        const QList<quint32> idx = FTextFont.glyphIndexesForString(kDigits);
        for (int i = 0; i < idx.size() && i < kDigitGlyphs; ++i)
            FDigits[i] = idx[i];
    }
}

const TVxGlyphCache::TChar &TVxGlyphCache::Char(char32_t code, int cells)
{
    const uint32_t key = uint32_t(code) << 3 | uint32_t(cells);
    auto it = FChars.find(key);
    if (it != FChars.end())
        return it->second;
    return FChars.emplace(key, Shape(QString::fromUcs4(&code, 1), cells)).first->second;
}

TVxGlyphCache::TChar TVxGlyphCache::Shape(const QString &text, int cells) const
{
    TChar ch;
    qreal width = 0, ascent = 0;
    const QList<QGlyphRun> runs = Layout(text, FFont, width, ascent);
    const qreal room = qreal(cells * FCharWidth);
    qreal dx = 0;
    if (width > room && width > 0)
        ch.ScaleX = room / width;
    else
        dx = (room - width) / 2;
    for (const QGlyphRun &run : runs) {
        TGlyphs g;
        g.Font = run.rawFont();
        const QList<quint32> idx = run.glyphIndexes();
        const QList<QPointF> pos = run.positions();
        for (int i = 0; i < idx.size(); ++i) {
            g.Indexes.push_back(idx[i]);
            // Scaled glyphs are drawn through a transform, so their offsets stay unscaled.
            g.Positions.emplace_back(pos[i].x() + dx, pos[i].y() - ascent + FAscent);
        }
        ch.Parts.push_back(std::move(g));
    }
    return ch;
}
