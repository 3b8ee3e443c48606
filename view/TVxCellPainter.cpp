#include "TVxCellPainter.h"

#include "TVxDocument.h"
#include "TVxGlyphCache.h"

#include <QGlyphRun>

#include <algorithm>

namespace {
constexpr int kAddressCol = TVxCells::kAddressCol;
constexpr int kCharSpacerCol = TVxCells::kCharSpacerCol;
constexpr int kFirstHexCol = TVxCells::kFirstHexCol;
constexpr int kLastHexCol = TVxCells::kLastHexCol;
constexpr int kCharCol = TVxCells::kCharCol;
constexpr int kBytesPerRow = TVxCells::kBytesPerRow;

int32_t RowStart(int32_t row) { return TVxCells::CellToOffset(kFirstHexCol, row); }

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

// The glyphs of a row's characters, one bucket per face, so that a row costs one draw call
// per face; a row of Unicode text may need a few (Latin, Japanese, symbols).
struct TFaceBuckets {
    static constexpr int kFaces = 6;
    TBucket Buckets[kFaces];
    int Used = 0;

    void Add(QPainter &p, const TVxGlyphCache::TChar &ch, QPointF at)
    {
        for (const TVxGlyphCache::TGlyphs &part : ch.Parts) {
            TBucket &b = BucketOf(p, part.Font);
            for (size_t j = 0; j < part.Indexes.size(); ++j) {
                b.Indexes << part.Indexes[j];
                b.Positions << part.Positions[j] + at;
            }
        }
    }
    void Flush(QPainter &p)
    {
        for (int k = 0; k < Used; ++k)
            DrawBucket(p, Buckets[k]);
    }

private:
    TBucket &BucketOf(QPainter &p, const QRawFont &font)
    {
        int k = 0;
        while (k < Used && !(Buckets[k].Font == font))
            ++k;
        if (k == Used) {
            if (Used == kFaces) {
                // Faces beyond the buckets: the first bucket goes out early, and is reused.
                DrawBucket(p, Buckets[0]);
                Buckets[0] = TBucket{};
                k = 0;
            } else {
                ++Used;
            }
            Buckets[k].Font = font;
        }
        return Buckets[k];
    }
};

// A character that cannot join the buckets: cut at the cell's edge (`clip` set), or
// squeezed into its cells. Rare, so drawn on its own.
void DrawFittedChar(QPainter &p, const TVxGlyphCache::TChar &ch, int x, qreal top, const QRect *clip)
{
    p.save();
    if (clip)
        p.setClipRect(*clip, Qt::IntersectClip);
    p.translate(x, top);
    p.scale(ch.ScaleX, 1.0);
    for (const TVxGlyphCache::TGlyphs &part : ch.Parts) {
        TBucket one{part.Font, {}, {}};
        one.Indexes = QList<quint32>(part.Indexes.begin(), part.Indexes.end());
        one.Positions = QList<QPointF>(part.Positions.begin(), part.Positions.end());
        DrawBucket(p, one);
    }
    p.restore();
}
} // namespace

void TVxCellPainter::Paint(QPainter &p, const QRect &exposed, const TVxPaintSnapshot &state)
{
    FIn = &state;
    const TVxGridGeometry &g = state.Geometry;
    const int width = state.Width;
    const int height = state.Height;
    const int32_t topRow = state.TopRow;
    const int32_t lastRow = state.RowCount - 1;
    for (int c = 0; c < TVxCells::kColCount; ++c)
        FColLeft[c] = g.ColLeft(c, state.LeftCol);
    const int gridRight = FColLeft[kCharCol] + g.ColWidth(kCharCol);
    const int fixedWidth = g.FixedWidth();

    // Rows meeting the exposed rectangle: the header, then data rows from the top row on.
    FRows.clear();
    if (g.HeaderHeight() > 0 && exposed.top() < g.HeaderHeight())
        FRows.push_back({0, 0, g.HeaderHeight(), false});
    int64_t first = std::max<int64_t>(topRow, g.RowAt(std::max(exposed.top(), g.HeaderHeight()), topRow));
    int64_t last = std::min<int64_t>(lastRow, g.RowAt(exposed.bottom(), topRow));
    for (int64_t r = first; r <= last; ++r)
        FRows.push_back({int32_t(r), int(g.RowTop(int32_t(r), topRow)), g.DefaultRowHeight(), r == state.Row});
    const int64_t gridBottom = std::min<int64_t>(height, g.RowTop(lastRow, topRow) + g.DefaultRowHeight());
    // The changed bytes of the painted rows, with room for the characters that reach in
    // from the rows around them: asked once, so no cell searches the whole set.
    FChanged.clear();
    if (first <= last && !state.Bytes.ChangedBytes().Empty())
        FChanged = state.Bytes.ChangedBytes().Intersecting(
            std::max(0, RowStart(int32_t(first)) - TVxCharDecoder::kMaxLength),
            RowStart(int32_t(last)) + kBytesPerRow + TVxCharDecoder::kMaxLength);
    FBookmarks.clear();
    if (first <= last && !state.Bytes.Bookmarks().Empty())
        FBookmarks = state.Bytes.Bookmarks().Intersecting(RowStart(int32_t(first)), RowStart(int32_t(last)) + kBytesPerRow);
    FMarks.clear();
    if (first <= last && state.Marks)
        state.Marks->MarksIn(RowStart(int32_t(first)), RowStart(int32_t(last)) + kBytesPerRow, FMarks);

    p.setClipRect(exposed.intersected(QRect(fixedWidth, 0, width - fixedWidth, height)));
    for (const TRowInfo &r : FRows)
        PaintScrollable(p, r);
    p.setClipRect(exposed.intersected(QRect(0, 0, fixedWidth, height)));
    for (const TRowInfo &r : FRows)
        PaintFixed(p, r);

    // The client outside all cells.
    p.setClipRect(exposed);
    const QColor &bg = state.Style.Color;
    if (gridRight < width)
        p.fillRect(QRect(gridRight, 0, width - gridRight, height), bg);
    if (gridBottom < height)
        p.fillRect(QRect(0, int(gridBottom), std::min(width, gridRight), height - int(gridBottom)), bg);
    FIn = nullptr;
}

void TVxCellPainter::PaintScrollable(QPainter &p, const TRowInfo &r)
{
    if (r.Row == 0) {
        PaintHeaderScrollable(p, r);
        return;
    }
    p.fillRect(QRect(FColLeft[kCharSpacerCol], r.Top, FIn->Geometry.ColWidth(kCharSpacerCol), r.Height),
               FIn->Style.Color);
    PaintHexCells(p, r);
    PaintUnderline(p, r, FColLeft[kFirstHexCol], FColLeft[kCharCol]);
    PaintCharCell(p, r);
}

void TVxCellPainter::PaintHeaderScrollable(QPainter &p, const TRowInfo &r)
{
    const TVxGridGeometry &g = FIn->Geometry;
    const int left = FColLeft[kFirstHexCol];
    const int right = FColLeft[kCharCol] + g.ColWidth(kCharCol);
    p.fillRect(QRect(left, r.Top, right - left, r.Height), FIn->Style.AddressBGColor);
    QList<quint32> idx;
    QList<QPointF> pos;
    const qreal base = r.Top + FGlyphs.Ascent();
    const int cw = g.CharWidth();
    // "+0".."+F" over the byte cells, "0".."F" over the character column.
    for (int col = kFirstHexCol; col <= kLastHexCol; ++col) {
        idx << FGlyphs.DigitGlyph(TVxGlyphCache::kPlus) << FGlyphs.DigitGlyph(col - kFirstHexCol);
        pos << QPointF(FColLeft[col], base) << QPointF(FColLeft[col] + cw, base);
    }
    if (g.ColWidth(kCharCol) > 0)
        for (int i = 0; i < kBytesPerRow; ++i) {
            idx << FGlyphs.DigitGlyph(i);
            pos << QPointF(FColLeft[kCharCol] + i * cw, base);
        }
    TBucket b{FGlyphs.TextFont(), idx, pos};
    p.setPen(FIn->Style.AddressColor);
    DrawBucket(p, b);
}

void TVxCellPainter::PaintHexCells(QPainter &p, const TRowInfo &r)
{
    const TVxGridGeometry &g = FIn->Geometry;
    const TVxViewStyle &st = FIn->Style;
    const int cw = g.CharWidth();
    const int32_t rowStart = RowStart(r.Row);
    const int32_t fileSize = FIn->FileSize;
    const int32_t selLo = FIn->SelLo, selHi = FIn->SelHi;
    const QColor *bg[4] = {&st.Color, &st.CurrentLineBGColor, &st.SelectBGColor, &st.MarkBGColor};
    // Text kinds: the three backgrounds' own, then changed bytes (any background but the
    // selection's).
    const QColor *fg[4] = {&st.FontColor, &st.CurrentLineColor, &st.SelectColor, &st.ChangedColor};
    TBucket text[4];
    const qreal base = r.Top + FGlyphs.Ascent();
    size_t changed = ChangedFrom(rowStart);
    size_t mark = MarkFrom(rowStart);

    int runKind = -1, runLeft = 0;
    for (int col = kFirstHexCol; col <= kLastHexCol; ++col) {
        const int32_t offset = rowStart + (col - kFirstHexCol);
        const bool selected = fileSize > 0 && selLo >= 0 && offset >= selLo && offset <= selHi;
        while (mark < FMarks.size() && FMarks[mark].End <= offset)
            ++mark;
        const bool marked = offset < fileSize && mark < FMarks.size() && FMarks[mark].First <= offset;
        // Backgrounds: the three of the text kinds, then marked bytes'.
        const int background = selected ? 2 : marked ? 3 : r.Current ? 1 : 0;
        const int kind = selected ? 2 : r.Current ? 1 : 0;
        // Neighbouring cells of one kind share one background fill.
        if (background != runKind) {
            if (runKind >= 0)
                p.fillRect(QRect(runLeft, r.Top, FColLeft[col] - runLeft, r.Height), *bg[runKind]);
            runKind = background;
            runLeft = FColLeft[col];
        }
        if (offset < fileSize) {
            while (changed < FChanged.size() && FChanged[changed].End <= offset)
                ++changed;
            const bool isChanged = changed < FChanged.size() && FChanged[changed].First <= offset;
            TBucket &t = text[isChanged && !selected ? 3 : kind];
            const uint8_t v = FIn->Bytes.ByteAt(offset);
            t.Indexes << FGlyphs.DigitGlyph(v >> 4) << FGlyphs.DigitGlyph(v & 15);
            t.Positions << QPointF(FColLeft[col], base) << QPointF(FColLeft[col] + cw, base);
        }
    }
    p.fillRect(QRect(runLeft, r.Top, FColLeft[kLastHexCol] + g.ColWidth(kLastHexCol) - runLeft, r.Height),
               *bg[runKind]);
    for (size_t m = MarkFrom(rowStart); m < FMarks.size() && FMarks[m].First < rowStart + kBytesPerRow; ++m)
        if (FMarks[m].First == FMarks[m].End && FMarks[m].First >= rowStart)
            PaintGap(p, r, FColLeft[kFirstHexCol + (FMarks[m].First - rowStart)]);
    for (int k = 0; k < 4; ++k) {
        if (text[k].Indexes.isEmpty())
            continue;
        text[k].Font = FGlyphs.TextFont();
        p.setPen(*fg[k]);
        DrawBucket(p, text[k]);
    }
    FrameBookmarks(p, r, [&](int32_t offset) { return FColLeft[kFirstHexCol + (offset - rowStart)]; },
                   [&](int32_t offset) {
                       const int col = kFirstHexCol + (offset - rowStart);
                       return FColLeft[col] + g.ColWidth(col);
                   });
}

void TVxCellPainter::FrameBookmarks(QPainter &p, const TRowInfo &r, const std::function<int(int32_t)> &left,
                                    const std::function<int(int32_t)> &right)
{
    const int32_t rowStart = RowStart(r.Row), rowEnd = std::min(rowStart + kBytesPerRow, FIn->FileSize);
    for (const TVxBookmark &m : FBookmarks) {
        const int32_t from = std::max(m.Offset, rowStart);
        const int32_t to = static_cast<int32_t>(std::min<int64_t>(m.End(), rowEnd));
        if (from >= to)
            continue;
        // An outline only: the selection's and the changed bytes' colours stay readable
        // inside, and the caret is drawn over everything afterwards.
        const QColor c(int(m.Color & 0xFF), int((m.Color >> 8) & 0xFF), int((m.Color >> 16) & 0xFF));
        const int x0 = left(from), x1 = right(to - 1);
        const int y0 = r.Top, y1 = r.Top + r.Height;
        p.fillRect(QRect(x0, y1 - 2, x1 - x0, 2), c);
        if (from == m.Offset || from == rowStart)
            p.fillRect(QRect(x0, y0, x1 - x0, 1), c);
        if (from == m.Offset)
            p.fillRect(QRect(x0, y0, 2, y1 - y0), c);
        if (to == m.End())
            p.fillRect(QRect(x1 - 2, y0, 2, y1 - y0), c);
    }
}

void TVxCellPainter::PaintCharCell(QPainter &p, const TRowInfo &r)
{
    const int width = FIn->Geometry.ColWidth(kCharCol);
    if (width == 0)
        return;
    const TVxViewStyle &st = FIn->Style;
    const QRect cell(FColLeft[kCharCol], r.Top, width, r.Height);
    p.fillRect(cell, r.Current ? st.CurrentLineBGColor : st.Color);
    p.setPen(r.Current ? st.CurrentLineColor : st.FontColor);
    const int32_t rowStart = RowStart(r.Row);
    const int32_t rowEnd = std::min(rowStart + kBytesPerRow, FIn->FileSize);
    const int cw = FIn->Geometry.CharWidth();
    for (size_t m = MarkFrom(rowStart); m < FMarks.size() && FMarks[m].First < rowEnd; ++m) {
        const int32_t from = std::max(FMarks[m].First, rowStart), to = std::min(FMarks[m].End, rowEnd);
        if (from < to)
            p.fillRect(QRect(cell.left() + (from - rowStart) * cw, r.Top, (to - from) * cw, r.Height), st.MarkBGColor);
    }
    DrawCharGlyphs(p, cell, rowStart);
    PaintUnderline(p, r, cell.left(), cell.left() + width);
    InvertSelectedChars(p, cell, rowStart);
    for (size_t m = MarkFrom(rowStart); m < FMarks.size() && FMarks[m].First < rowStart + kBytesPerRow; ++m)
        if (FMarks[m].First == FMarks[m].End && FMarks[m].First >= rowStart)
            PaintGap(p, r, cell.left() + (FMarks[m].First - rowStart) * cw);
    FrameBookmarks(p, r, [&](int32_t offset) { return cell.left() + (offset - rowStart) * cw; },
                   [&](int32_t offset) { return cell.left() + (offset - rowStart + 1) * cw; });
    if (r.Current)
        FrameCaretChar(p, cell);
}

void TVxCellPainter::PaintGap(QPainter &p, const TRowInfo &r, int x)
{
    p.fillRect(QRect(x - 1, r.Top, 2, r.Height), FIn->Style.MarkBGColor.darker(200));
}

void TVxCellPainter::DrawCharGlyphs(QPainter &p, const QRect &cell, int32_t rowStart)
{
    // The row's characters with their context, so a character across a row boundary shows
    // its parts on both rows.
    FRun.Read(FIn->Bytes, rowStart, FIn->Decoder);
    const int cw = FIn->Geometry.CharWidth();
    const int left = cell.left();
    const int right = left + cell.width();
    const qreal top = cell.top();
    const int32_t base = FRun.Base;
    const int n = FRun.Count;
    // Characters of changed bytes (any of them changed, none selected) go into buckets of
    // their own, drawn in the changed colour after the others.
    TFaceBuckets buckets, changedBuckets;
    const QPen pen = p.pen();
    const int32_t selLo = FIn->FileSize > 0 ? FIn->SelLo : -1;
    const int32_t selHi = FIn->SelHi;
    const int first = std::max(0, rowStart - base - TVxCharDecoder::kMaxLength);
    size_t changed = ChangedFrom(base + first);
    // A character that starts further back than the longest one cannot reach the row.
    for (int i = first; i < n; ++i) {
        const TVxDecodedChar &c = FRun.Chars[size_t(i)];
        if (c.Span == 0)
            continue;
        const int cells = c.Span;
        const int x = left + (base + i - rowStart) * cw;
        if (x + cells * cw <= left || x >= right)
            continue;
        const int32_t at = base + i;
        while (changed < FChanged.size() && FChanged[changed].End <= at)
            ++changed;
        const bool isChanged = changed < FChanged.size() && FChanged[changed].First < at + cells &&
                               !(selLo >= 0 && at + cells - 1 >= selLo && at <= selHi);
        const TVxGlyphCache::TChar &ch = FGlyphs.Char(TVxCharDecoder::Displayed(c.Code), cells);
        const bool straddles = x < left || x + cells * cw > right;
        if (straddles || ch.ScaleX != 1.0) {
            if (isChanged)
                p.setPen(FIn->Style.ChangedColor);
            DrawFittedChar(p, ch, x, top, straddles ? &cell : nullptr);
            if (isChanged)
                p.setPen(pen);
        } else {
            (isChanged ? changedBuckets : buckets).Add(p, ch, QPointF(x, top));
        }
    }
    buckets.Flush(p);
    p.setPen(FIn->Style.ChangedColor);
    changedBuckets.Flush(p);
    p.setPen(pen);
}

void TVxCellPainter::InvertSelectedChars(QPainter &p, const QRect &cell, int32_t rowStart)
{
    if (FIn->SelLo < 0)
        return;
    const int32_t lo = std::max(FIn->SelLo, rowStart);
    const int32_t hi = std::min(FIn->SelHi, rowStart + kBytesPerRow - 1);
    if (lo > hi)
        return;
    const int cw = FIn->Geometry.CharWidth();
    p.save();
    p.setCompositionMode(QPainter::RasterOp_NotDestination);
    p.fillRect(QRect(cell.left() + (lo - rowStart) * cw, cell.top(), (hi - lo + 1) * cw, cell.height()), Qt::black);
    p.restore();
}

void TVxCellPainter::FrameCaretChar(QPainter &p, const QRect &cell)
{
    const int cw = FIn->Geometry.CharWidth();
    p.setPen(FIn->Style.CaretColor);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(cell.left() + (FIn->Col - kFirstHexCol) * cw, cell.top(), cw - 1, cell.height() - 1));
}

void TVxCellPainter::PaintFixed(QPainter &p, const TRowInfo &r)
{
    const TVxGridGeometry &g = FIn->Geometry;
    const int w0 = g.ColWidth(kAddressCol);
    if (r.Row == 0) {
        p.fillRect(QRect(0, r.Top, g.FixedWidth(), r.Height), FIn->Style.AddressBGColor);
        return;
    }
    p.fillRect(QRect(w0, r.Top, g.ColWidth(TVxCells::kAddressSpacerCol), r.Height), FIn->Style.Color);
    if (w0 > 0)
        PaintAddress(p, r);
    PaintUnderline(p, r, 0, g.FixedWidth());
}

void TVxCellPainter::PaintAddress(QPainter &p, const TRowInfo &r)
{
    const int w0 = FIn->Geometry.ColWidth(kAddressCol);
    p.fillRect(QRect(0, r.Top, w0, r.Height), FIn->Style.AddressBGColor);
    // The row's first offset in the geometry's digits (at least kMinAddressDigits), then ":",
    // right-aligned.
    int digits[9];
    uint32_t v = uint32_t(RowStart(r.Row));
    int count = 0;
    int tmp[8];
    do {
        tmp[count++] = int(v & 15);
        v >>= 4;
    } while (v != 0);
    // As many digits as the document's last row needs, on every row, so the addresses of a
    // large document do not jump from seven digits to eight while scrolling.
    while (count < FIn->Geometry.AddressDigits())
        tmp[count++] = 0;
    for (int i = 0; i < count; ++i)
        digits[i] = tmp[count - 1 - i];
    digits[count] = TVxGlyphCache::kColon;
    const int cw = FIn->Geometry.CharWidth();
    DrawDigits(p, digits, count + 1, w0 - (count + 1) * cw, r.Top, FIn->Style.AddressColor);
}

void TVxCellPainter::PaintUnderline(QPainter &p, const TRowInfo &r, int left, int right)
{
    if (!FIn->Style.ViewUnderLine || !r.Current || FIn->SelExtentSet || right <= left)
        return;
    p.fillRect(QRect(left, r.Top + r.Height - 1, right - left, 1), FIn->Style.UnderLineColor);
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

size_t TVxCellPainter::MarkFrom(int32_t offset) const
{
    // A gap at `offset` (End == offset) counts: it is drawn before the byte there.
    return size_t(std::lower_bound(FMarks.begin(), FMarks.end(), offset,
                                   [](const TVxMarkSource::TRange &r, int32_t at) {
                                       return r.End < at || (r.End == at && r.First < r.End);
                                   }) -
                  FMarks.begin());
}

size_t TVxCellPainter::ChangedFrom(int32_t offset) const
{
    return size_t(std::upper_bound(FChanged.begin(), FChanged.end(), offset,
                                   [](int32_t at, const TVxChangedBytes::TRange &r) { return at < r.End; }) -
                  FChanged.begin());
}
