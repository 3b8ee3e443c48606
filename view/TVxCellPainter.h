#pragma once
// Paints the grid: header row, address column, spacers, hexadecimal cells with selection
// and current-line colours, the character column (decoded per character by TVxCharRun,
// each character drawn at the cell of its first byte and fitted into the cells of its
// bytes), the selection inversion and shadow caret frame there, and the optional
// current-line underline. The text of bytes changed since the last load or save (hex
// digits and characters) is drawn in the style's ChangedColor unless they are selected; the
// changed ranges of the painted rows are asked of the document once per paint, and so are
// the marks (TVxMarkSource): marked bytes on their own background, gaps as bars between cells;
// and the document's bookmarks, outlined in their colours.
//
// Only rows that meet the exposed region are painted, and every cell fills its whole
// rectangle, so nothing needs erasing first. Bytes are read through the document's cache
// window (ByteAt); a repaint of the visible rows stays inside one window.
//
// Everything it draws comes from the TVxPaintSnapshot of the paint and the glyphs of
// TVxGlyphCache; it keeps nothing of the control. Called by TVxHexcavator::paintEvent
// only; the drawn caret is the control's own overlay.

#include "TVxBookmarks.h"
#include "TVxCells.h"
#include "TVxChangedBytes.h"
#include "TVxCharRun.h"
#include "TVxMarkSource.h"
#include "TVxPaintSnapshot.h"

#include <QColor>
#include <QPainter>

#include <cstdint>
#include <functional>
#include <vector>

class TVxGlyphCache;

class TVxCellPainter {
public:
    explicit TVxCellPainter(TVxGlyphCache &glyphs) : FGlyphs(glyphs) {}

    void Paint(QPainter &p, const QRect &exposed, const TVxPaintSnapshot &state);

private:
    struct TRowInfo {
        int32_t Row;
        int Top;
        int Height;
        bool Current;
    };

    void PaintScrollable(QPainter &p, const TRowInfo &r);
    void PaintFixed(QPainter &p, const TRowInfo &r);
    void PaintHeaderScrollable(QPainter &p, const TRowInfo &r);
    void PaintAddress(QPainter &p, const TRowInfo &r);
    void PaintHexCells(QPainter &p, const TRowInfo &r);
    // The character column of a data row: background, glyphs, underline, the selected
    // characters inverted and the caret's character framed, in that order.
    void PaintCharCell(QPainter &p, const TRowInfo &r);
    void DrawCharGlyphs(QPainter &p, const QRect &cell, int32_t rowStart);
    void InvertSelectedChars(QPainter &p, const QRect &cell, int32_t rowStart);
    void FrameCaretChar(QPainter &p, const QRect &cell);
    void PaintUnderline(QPainter &p, const TRowInfo &r, int left, int right);
    // Draws hexadecimal digits / ":" / "+" (glyph numbers of TVxGlyphCache) at x, one cell
    // per character.
    void DrawDigits(QPainter &p, const int *digits, int count, qreal x, int top, const QColor &color);
    // Index in FChanged of the first range ending above offset (a binary search; rows ask
    // once and walk on from there).
    size_t ChangedFrom(int32_t offset) const;
    // Index in FMarks of the first mark that ends above offset, or is a gap at offset.
    size_t MarkFrom(int32_t offset) const;
    // The bookmarks' outlines on a row, in their colours; left/right give a byte's cell edges.
    void FrameBookmarks(QPainter &p, const TRowInfo &r, const std::function<int(int32_t)> &left,
                        const std::function<int(int32_t)> &right);
    // The bar of a gap, centred on x.
    void PaintGap(QPainter &p, const TRowInfo &r, int x);

    TVxGlyphCache &FGlyphs;
    const TVxPaintSnapshot *FIn = nullptr; // the state of the paint under way
    int FColLeft[TVxCells::kColCount] = {}; // left edge of each column for this paint
    TVxCharRun FRun;                        // the row being painted
    std::vector<TRowInfo> FRows;            // the rows this paint covers, kept for its capacity
    std::vector<TVxChangedBytes::TRange> FChanged; // changed bytes of those rows, ascending
    std::vector<TVxMarkSource::TRange> FMarks;     // marks of those rows, ascending
    std::vector<TVxBookmark> FBookmarks;           // bookmarks of those rows, ascending
};
