#pragma once
// Paints the grid of a TVxHexcavator: header row, address column, spacers, hexadecimal
// cells with selection and current-line colours, the character column (decoded per
// character by TVxCharRun, each character drawn at the cell of its first byte and fitted into
// the cells of its bytes), the selection inversion
// and shadow caret frame there, and the optional current-line underline.
//
// Only rows that meet the exposed region are painted, and every cell fills its whole
// rectangle, so nothing needs erasing first. Bytes are read through the document's cache
// window (ByteAt); a repaint of the visible rows stays inside one window.
//
// Called by TVxHexcavator::paintEvent only; the drawn caret is the control's own overlay.

#include "TVxCharRun.h"

#include <QColor>
#include <QPainter>

#include <cstdint>

class TVxHexcavator;
class TVxGlyphCache;

class TVxCellPainter {
public:
    TVxCellPainter(TVxHexcavator &view, TVxGlyphCache &glyphs) : FView(view), FGlyphs(glyphs) {}

    void Paint(QPainter &p, const QRect &exposed);

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
    void PaintHexCells(QPainter &p, const TRowInfo &r);
    void PaintCharCell(QPainter &p, const TRowInfo &r);
    void PaintUnderline(QPainter &p, const TRowInfo &r, int left, int right);
    // Draws hexadecimal digits / ":" / "+" (glyph numbers of TVxGlyphCache) at x, one cell
    // per character.
    void DrawDigits(QPainter &p, const int *digits, int count, qreal x, int top, const QColor &color);

    TVxHexcavator &FView;
    TVxGlyphCache &FGlyphs;
    int32_t FFileSize = 0;
    int32_t FSelLo = -1, FSelHi = -1; // ordered selection, -1 when none
    int FColLeft[20] = {};           // left edge of each column for this paint
    TVxCharRun FRun;                 // the row being painted
};
