#include "TVxCellPainter.h"

#include "TVxGlyphCache.h"
#include "TVxHexcavator.h"

#include <QGlyphRun>

#include <algorithm>

namespace {
// Glyphs of one face collected for one draw call.
struct TBucket {
    QRawFont Font;
    QList<quint32> Indexes;
    QList<QPointF> Positions;
};

void DrawBucket(QPainter &p, const TBucket &b)
{
    if (b.Indexes.isEmpty())
        return;
    QGlyphRun run;
    run.setRawFont(b.Font);
    run.setGlyphIndexes(b.Indexes);
    run.setPositions(b.Positions);
    p.drawGlyphRun(QPointF(0, 0), run);
}
} // namespace

void TVxCellPainter::Paint(QPainter &p, const QRect &exposed)
{
    const TVxGridGeometry &g = FView.FGeometry;
    const int width = FView.viewport()->width();
    const int height = FView.viewport()->height();
    const int32_t topRow = FView.FTopRow;
    const int32_t lastRow = FView.FRowCount - 1;
    FFileSize = FView.FileSize();
    FView.GetSelectionRange(FSelLo, FSelHi);
    for (int c = 0; c < TVxGridGeometry::kColCount; ++c)
        FColLeft[c] = g.ColLeft(c, FView.FLeftCol);
    const int gridRight = FColLeft[19] + g.ColWidth(19);
    const int fixedWidth = g.FixedWidth();

    // Rows meeting the exposed rectangle: the header, then data rows from the top row on.
    std::vector<TRowInfo> rows;
    if (g.HeaderHeight() > 0 && exposed.top() < g.HeaderHeight())
        rows.push_back({0, 0, g.HeaderHeight(), false});
    int64_t first = std::max<int64_t>(topRow, g.RowAt(std::max(exposed.top(), g.HeaderHeight()), topRow));
    int64_t last = std::min<int64_t>(lastRow, g.RowAt(exposed.bottom(), topRow));
    for (int64_t r = first; r <= last; ++r)
        rows.push_back({int32_t(r), int(g.RowTop(int32_t(r), topRow)), g.DefaultRowHeight(), r == FView.FRow});
    const int64_t gridBottom = std::min<int64_t>(height, g.RowTop(lastRow, topRow) + g.DefaultRowHeight());

    p.setClipRect(exposed.intersected(QRect(fixedWidth, 0, width - fixedWidth, height)));
    for (const TRowInfo &r : rows)
        PaintScrollable(p, r);
    p.setClipRect(exposed.intersected(QRect(0, 0, fixedWidth, height)));
    for (const TRowInfo &r : rows)
        PaintFixed(p, r);

    // The client outside all cells.
    p.setClipRect(exposed);
    if (gridRight < width)
        p.fillRect(QRect(gridRight, 0, width - gridRight, height), FView.FColor);
    if (gridBottom < height)
        p.fillRect(QRect(0, int(gridBottom), std::min(width, gridRight), height - int(gridBottom)), FView.FColor);
}

void TVxCellPainter::PaintScrollable(QPainter &p, const TRowInfo &r)
{
    const TVxGridGeometry &g = FView.FGeometry;
    if (r.Row == 0) {
        PaintHeaderScrollable(p, r);
        return;
    }
    p.fillRect(QRect(FColLeft[18], r.Top, g.ColWidth(18), r.Height), FView.FColor);
    PaintHexCells(p, r);
    PaintUnderline(p, r, FColLeft[2], FColLeft[19]);
    PaintCharCell(p, r);
}

void TVxCellPainter::PaintHeaderScrollable(QPainter &p, const TRowInfo &r)
{
    const TVxGridGeometry &g = FView.FGeometry;
    const int left = FColLeft[2];
    const int right = FColLeft[19] + g.ColWidth(19);
    p.fillRect(QRect(left, r.Top, right - left, r.Height), FView.FAddressBGColor);
    QList<quint32> idx;
    QList<QPointF> pos;
    const qreal base = r.Top + FGlyphs.Ascent();
    const int cw = g.CharWidth();
    for (int col = 2; col <= 17; ++col) {
        idx << FGlyphs.DigitGlyph(TVxGlyphCache::kPlus) << FGlyphs.DigitGlyph(col - 2);
        pos << QPointF(FColLeft[col], base) << QPointF(FColLeft[col] + cw, base);
    }
    if (g.ColWidth(19) > 0)
        for (int i = 0; i < 16; ++i) {
            idx << FGlyphs.DigitGlyph(i);
            pos << QPointF(FColLeft[19] + i * cw, base);
        }
    TBucket b{FGlyphs.TextFont(), idx, pos};
    p.setPen(FView.FAddressColor);
    DrawBucket(p, b);
}

void TVxCellPainter::PaintHexCells(QPainter &p, const TRowInfo &r)
{
    const TVxGridGeometry &g = FView.FGeometry;
    const int cw = g.CharWidth();
    const int32_t rowStart = (r.Row - 1) * 16;
    const QColor *bg[3] = {&FView.FColor, &FView.FCurrentLineBGColor, &FView.FSelectBGColor};
    const QColor *fg[3] = {&FView.FFontColor, &FView.FCurrentLineColor, &FView.FSelectColor};
    TBucket text[3];
    const qreal base = r.Top + FGlyphs.Ascent();

    int runKind = -1, runLeft = 0;
    for (int col = 2; col <= 17; ++col) {
        const int32_t offset = rowStart + (col - 2);
        const bool selected = FFileSize > 0 && FSelLo >= 0 && offset >= FSelLo && offset <= FSelHi;
        const int kind = selected ? 2 : r.Current ? 1 : 0;
        // Neighbouring cells of one kind share one background fill.
        if (kind != runKind) {
            if (runKind >= 0)
                p.fillRect(QRect(runLeft, r.Top, FColLeft[col] - runLeft, r.Height), *bg[runKind]);
            runKind = kind;
            runLeft = FColLeft[col];
        }
        if (offset < FFileSize) {
            const uint8_t v = FView.ByteAt(offset);
            text[kind].Indexes << FGlyphs.DigitGlyph(v >> 4) << FGlyphs.DigitGlyph(v & 15);
            text[kind].Positions << QPointF(FColLeft[col], base) << QPointF(FColLeft[col] + cw, base);
        }
    }
    p.fillRect(QRect(runLeft, r.Top, FColLeft[17] + g.ColWidth(17) - runLeft, r.Height), *bg[runKind]);
    for (int k = 0; k < 3; ++k) {
        if (text[k].Indexes.isEmpty())
            continue;
        text[k].Font = FGlyphs.TextFont();
        p.setPen(*fg[k]);
        DrawBucket(p, text[k]);
    }
}

void TVxCellPainter::PaintCharCell(QPainter &p, const TRowInfo &r)
{
    const TVxGridGeometry &g = FView.FGeometry;
    const int width = g.ColWidth(19);
    if (width == 0)
        return;
    const int cw = g.CharWidth();
    const int left = FColLeft[19];
    const QRect cell(left, r.Top, width, r.Height);
    p.fillRect(cell, r.Current ? FView.FCurrentLineBGColor : FView.FColor);
    p.setPen(r.Current ? FView.FCurrentLineColor : FView.FFontColor);

    // The row's characters with their context, so a character across a row boundary shows
    // its parts on both rows.
    const int32_t s = (r.Row - 1) * 16;
    TVxCharRun &run = FRun;
    run.Read(FView, s, FView.FCharCode);
    const int32_t b = run.Base;
    const int n = run.Count;

    // One bucket per face; a row of Unicode text may need a few (Latin, Japanese, symbols).
    constexpr int kFaces = 6;
    TBucket buckets[kFaces];
    int used = 0;
    const qreal top = r.Top;
    for (int i = 0; i < n; ++i) {
        const TVxDecodedChar &c = run.Chars[i];
        if (c.Span == 0)
            continue;
        const int cells = c.Span;
        const int x = left + (b + i - s) * cw;
        if (x + cells * cw <= left || x >= left + width)
            continue;
        const TVxGlyphCache::TChar &ch = FGlyphs.Char(TVxCharDecoder::Displayed(c.Code), cells);
        const bool straddles = x < left || x + cells * cw > left + width;
        if (straddles || ch.ScaleX != 1.0) {
            // Rare: cut at the cell's edge, or squeezed into its cells.
            p.save();
            if (straddles)
                p.setClipRect(cell, Qt::IntersectClip);
            p.translate(x, top);
            p.scale(ch.ScaleX, 1.0);
            for (const TVxGlyphCache::TGlyphs &part : ch.Parts) {
                TBucket one{part.Font, {}, {}};
                one.Indexes = QList<quint32>(part.Indexes.begin(), part.Indexes.end());
                one.Positions = QList<QPointF>(part.Positions.begin(), part.Positions.end());
                DrawBucket(p, one);
            }
            p.restore();
            continue;
        }
        for (const TVxGlyphCache::TGlyphs &part : ch.Parts) {
            int k = 0;
            while (k < used && !(buckets[k].Font == part.Font))
                ++k;
            if (k == used) {
                if (used == kFaces) {
                    // Faces beyond the buckets: the first bucket goes out early, and is reused.
                    DrawBucket(p, buckets[0]);
                    buckets[0] = TBucket{};
                    k = 0;
                } else {
                    ++used;
                }
                buckets[k].Font = part.Font;
            }
            for (size_t j = 0; j < part.Indexes.size(); ++j) {
                buckets[k].Indexes << part.Indexes[j];
                buckets[k].Positions << part.Positions[j] + QPointF(x, top);
            }
        }
    }
    for (int k = 0; k < used; ++k)
        DrawBucket(p, buckets[k]);

    PaintUnderline(p, r, left, left + width);

    // Selected bytes: their characters inverted.
    if (FSelLo >= 0) {
        const int32_t lo = std::max(FSelLo, s), hi = std::min(FSelHi, s + 15);
        if (lo <= hi) {
            p.save();
            p.setCompositionMode(QPainter::RasterOp_NotDestination);
            p.fillRect(QRect(left + (lo - s) * cw, r.Top, (hi - lo + 1) * cw, r.Height), Qt::black);
            p.restore();
        }
    }
    // The byte under the caret, framed.
    if (r.Current) {
        p.setPen(FView.FCaretColor);
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(left + (FView.FCol - 2) * cw, r.Top, cw - 1, r.Height - 1));
    }
}

void TVxCellPainter::PaintFixed(QPainter &p, const TRowInfo &r)
{
    const TVxGridGeometry &g = FView.FGeometry;
    const int w0 = g.ColWidth(0);
    if (r.Row == 0) {
        p.fillRect(QRect(0, r.Top, g.FixedWidth(), r.Height), FView.FAddressBGColor);
        return;
    }
    p.fillRect(QRect(w0, r.Top, g.ColWidth(1), r.Height), FView.FColor);
    if (w0 > 0) {
        p.fillRect(QRect(0, r.Top, w0, r.Height), FView.FAddressBGColor);
        // The row's first offset, at least kMinAddressDigits hexadecimal digits, then ":",
        // right-aligned; the geometry leaves room for the document's widest one.
        int digits[9];
        uint32_t v = uint32_t(r.Row - 1) * 16u;
        int count = 0;
        int tmp[8];
        do {
            tmp[count++] = int(v & 15);
            v >>= 4;
        } while (v != 0);
        while (count < TVxGridGeometry::kMinAddressDigits)
            tmp[count++] = 0;
        for (int i = 0; i < count; ++i)
            digits[i] = tmp[count - 1 - i];
        digits[count] = TVxGlyphCache::kColon;
        const int cw = g.CharWidth();
        DrawDigits(p, digits, count + 1, w0 - (count + 1) * cw, r.Top, FView.FAddressColor);
    }
    PaintUnderline(p, r, 0, g.FixedWidth());
}

void TVxCellPainter::PaintUnderline(QPainter &p, const TRowInfo &r, int left, int right)
{
    if (!FView.FViewUnderLine || !r.Current || FView.FSelExtent != -1 || right <= left)
        return;
    p.fillRect(QRect(left, r.Top + r.Height - 1, right - left, 1), FView.FUnderLineColor);
}

void TVxCellPainter::DrawDigits(QPainter &p, const int *digits, int count, qreal x, int top, const QColor &color)
{
    TBucket b{FGlyphs.TextFont(), {}, {}};
    const qreal base = top + FGlyphs.Ascent();
    for (int i = 0; i < count; ++i) {
        b.Indexes << FGlyphs.DigitGlyph(digits[i]);
        b.Positions << QPointF(x + i * FGlyphs.CharWidth(), base);
    }
    p.setPen(color);
    DrawBucket(p, b);
}
