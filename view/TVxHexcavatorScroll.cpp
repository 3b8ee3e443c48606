// TVxHexcavator: both scroll bars and the wheel.
//
// The vertical bar's position is the top row itself. A 2147483647-byte document has
// 134217729 rows, far inside an int, so every row has its own thumb position and no scaling
// is needed; Qt's slider maps pixels to values in 64-bit arithmetic.

#include "TVxHexcavator.h"

#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

int32_t TVxHexcavator::VisibleRowCount() const { return FGeometry.VisibleRowCount(viewport()->height()); }

int TVxHexcavator::VisibleColCount() const { return FGeometry.VisibleColCount(viewport()->width(), FLeftCol); }

int32_t TVxHexcavator::ClampTopRow(int32_t row) const
{
    const int32_t maxTop = std::max(1, FRowCount - VisibleRowCount());
    return std::clamp(row, 1, maxTop);
}

int TVxHexcavator::ClampLeftCol(int col) const
{
    return std::clamp(col, int(TVxCells::kFirstHexCol), FGeometry.MaxLeftCol(viewport()->width()));
}

void TVxHexcavator::UpdateScrollBars()
{
    // Setting a range can resize the viewport (a bar appears), which comes back here.
    if (FSyncingBars)
        return;
    FSyncingBars = true;
    QScrollBar *v = verticalScrollBar();
    const int32_t rows = VisibleRowCount();
    v->setRange(1, std::max(1, FRowCount - rows));
    v->setPageStep(rows);
    v->setSingleStep(1);
    v->setValue(FTopRow);
    QScrollBar *h = horizontalScrollBar();
    h->setRange(TVxCells::kFirstHexCol, FGeometry.MaxLeftCol(viewport()->width()));
    h->setPageStep(VisibleColCount());
    h->setSingleStep(1);
    h->setValue(FLeftCol);
    FSyncingBars = false;
}

void TVxHexcavator::ScrollCellIntoView(int col, int32_t row)
{
    const int32_t rows = VisibleRowCount();
    if (row < FTopRow)
        FTopRow = row;
    else if (row >= FTopRow + rows)
        FTopRow = row - rows + 1;
    FTopRow = ClampTopRow(FTopRow);

    const int width = viewport()->width();
    if (col < FLeftCol)
        FLeftCol = col;
    else
        while (FLeftCol < col && FGeometry.ColLeft(col, FLeftCol) + FGeometry.ColWidth(col) > width)
            ++FLeftCol;
    FLeftCol = ClampLeftCol(FLeftCol);
}

void TVxHexcavator::SetTopRow(int32_t row)
{
    const int32_t top = ClampTopRow(row);
    if (top == FTopRow)
        return;
    FTopRow = top;
    UpdateScrollBars();
    RefreshCaret();
    RepaintAll();
}

void TVxHexcavator::SetLeftCol(int col)
{
    const int left = ClampLeftCol(col);
    if (left == FLeftCol)
        return;
    FLeftCol = left;
    UpdateScrollBars();
    RefreshCaret();
    RepaintAll();
}

// The bars' values changed: by dragging (continuous tracking), clicking, or the keyboard.
void TVxHexcavator::scrollContentsBy(int, int)
{
    if (FSyncingBars)
        return;
    FTopRow = ClampTopRow(verticalScrollBar()->value());
    FLeftCol = ClampLeftCol(horizontalScrollBar()->value());
    RefreshCaret();
    RepaintAll();
}

void TVxHexcavator::OnScrollAction(Qt::Orientation bar, int action)
{
    // "Top" and "Bottom" from the bar's context menu are not scroll requests of this grid.
    if (action == QAbstractSlider::SliderToMinimum || action == QAbstractSlider::SliderToMaximum) {
        QScrollBar *b = bar == Qt::Vertical ? verticalScrollBar() : horizontalScrollBar();
        b->setSliderPosition(b->value());
    }
}

void TVxHexcavator::resizeEvent(QResizeEvent *e)
{
    QAbstractScrollArea::resizeEvent(e);
    FTopRow = ClampTopRow(FTopRow);
    FLeftCol = ClampLeftCol(FLeftCol);
    UpdateScrollBars();
    RefreshCaret();
}

// One row per notch, whatever the desktop's lines-per-notch; the caret stays where it is.
void TVxHexcavator::wheelEvent(QWheelEvent *e)
{
    FWheelRemainder += e->angleDelta().y();
    const int notches = FWheelRemainder / 120;
    FWheelRemainder -= notches * 120;
    if (notches != 0 && (e->modifiers() & Qt::ControlModifier)) {
        // Zooming is the window's: the font belongs to the settings.
        OnZoom(notches);
    } else if (notches != 0) {
        FTopRow = ClampTopRow(int32_t(std::clamp<int64_t>(int64_t(FTopRow) - notches, 1, FRowCount)));
        UpdateScrollBars();
        RefreshCaret();
        RepaintAll();
    }
    e->accept();
}
