#include "TByteValuesTable.h"

#include <QEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace {
using V = TByteValues;
} // namespace

TByteValuesTable::TByteValuesTable(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setBackgroundRole(QPalette::Base);
    Measure();
}

void TByteValuesTable::Measure()
{
    const QFontMetrics fm(font());
    FPad = fm.averageCharWidth();
    FRowHeight = fm.height() + 6;
    FCaptionWidth = 0;
    for (int r = 0; r < V::kRowCount; ++r)
        FCaptionWidth = std::max(FCaptionWidth, fm.horizontalAdvance(V::Caption(V::TRow(r))));
    FCaptionWidth += 2 * FPad;
    // Room for the widest value any cell shows, measured in this font: a 64-bit float with 17
    // significant digits and a signed three-digit exponent ("-2.2250738585072014e-308"), every
    // digit as wide as the font's widest; the integers are narrower.
    int digit = 0;
    for (char16_t c = u'0'; c <= u'9'; ++c)
        digit = std::max(digit, fm.horizontalAdvance(QChar(c)));
    const int sign = std::max(fm.horizontalAdvance(QLatin1Char('-')), fm.horizontalAdvance(QLatin1Char('+')));
    const int widestFloat = fm.horizontalAdvance(QStringLiteral("-.e")) + sign + 20 * digit;
    FValueWidth = std::max({widestFloat, fm.horizontalAdvance(QStringLiteral("リトルエンディアン")),
                            fm.horizontalAdvance(QStringLiteral("ビッグエンディアン"))}) +
                  2 * FPad;
    // Every text is laid out again in the new font when next drawn.
    for (auto &row : FStatic)
        for (QStaticText &s : row)
            s.setText(s.text());
    FHeaders[0].setText(QStringLiteral("リトルエンディアン"));
    FHeaders[1].setText(QStringLiteral("ビッグエンディアン"));
    for (int r = 0; r < V::kRowCount; ++r)
        FCaptions[r].setText(V::Caption(V::TRow(r)));
    updateGeometry();
    update();
}

QSize TByteValuesTable::sizeHint() const
{
    return QSize(FCaptionWidth + 2 * FValueWidth + 1, (V::kRowCount + 1) * FRowHeight + 1);
}

bool TByteValuesTable::Fits(TByteValues::TRow row, TByteValues::TOrder order) const
{
    return QFontMetrics(font()).horizontalAdvance(FTexts[row][order]) + 2 * FPad <= CellRect(row, order).width();
}

QRect TByteValuesTable::CellRect(int row, int col) const
{
    const int top = (row + 1) * FRowHeight;
    if (col < 0)
        return QRect(0, top, FCaptionWidth, FRowHeight);
    const bool spans = row >= 0 && !V::HasByteOrder(V::TRow(row));
    return QRect(FCaptionWidth + col * FValueWidth, top, spans ? 2 * FValueWidth : FValueWidth, FRowHeight);
}

void TByteValuesTable::SetValues(const TByteValues &values)
{
    // One rectangle around the changed cells: handed many small ones, the window's repaint
    // merges them with the editor's rows into their bounding box and repaints all between.
    QRect changed;
    for (int r = 0; r < V::kRowCount; ++r)
        for (int c = 0; c < 2; ++c) {
            const QString &text = values.Text(V::TRow(r), V::TOrder(c));
            if (text == FTexts[r][c])
                continue;
            FTexts[r][c] = text;
            FStatic[r][c].setText(text); // laid out when first drawn
            changed |= CellRect(r, c);
        }
    if (!changed.isEmpty())
        update(changed);
}

void TByteValuesTable::paintEvent(QPaintEvent *e)
{
    QPainter p(this);
    const QPalette &pal = palette();
    p.fillRect(e->rect(), pal.base());
    const int width = FCaptionWidth + 2 * FValueWidth;
    const int height = (V::kRowCount + 1) * FRowHeight;
    // Header and captions on the button colour, as a table's headers.
    p.fillRect(QRect(0, 0, width, FRowHeight), pal.button());
    p.fillRect(QRect(0, FRowHeight, FCaptionWidth, height - FRowHeight), pal.button());
    p.setPen(pal.color(QPalette::Mid));
    for (int r = 0; r <= V::kRowCount + 1; ++r)
        p.drawLine(0, r * FRowHeight, width, r * FRowHeight);
    p.drawLine(FCaptionWidth, 0, FCaptionWidth, height);
    for (int r = -1; r < V::kRowCount; ++r)
        if (r < 0 || V::HasByteOrder(V::TRow(r))) {
            const int x = FCaptionWidth + FValueWidth;
            p.drawLine(x, (r + 1) * FRowHeight, x, (r + 2) * FRowHeight);
        }
    p.drawLine(width, 0, width, height);

    const QFontMetrics fm(font());
    const int dy = (FRowHeight - fm.height()) / 2;
    p.setPen(pal.color(QPalette::ButtonText));
    for (int c = 0; c < 2; ++c)
        if (CellRect(-1, c).intersects(e->rect()))
            p.drawStaticText(CellRect(-1, c).left() + FPad, dy, FHeaders[c]);
    for (int r = 0; r < V::kRowCount; ++r) {
        const QRect caption = CellRect(r, -1);
        if (caption.intersects(e->rect()))
            p.drawStaticText(FPad, caption.top() + dy, FCaptions[r]);
    }
    p.setPen(pal.color(QPalette::Text));
    for (int r = 0; r < V::kRowCount; ++r)
        for (int c = 0; c < (V::HasByteOrder(V::TRow(r)) ? 2 : 1); ++c) {
            const QRect cell = CellRect(r, c);
            if (FTexts[r][c].isEmpty() || !cell.intersects(e->rect()))
                continue;
            p.save();
            p.setClipRect(cell.adjusted(1, 1, -1, -1));
            p.drawStaticText(cell.left() + FPad, cell.top() + dy, FStatic[r][c]);
            p.restore();
        }
}

bool TByteValuesTable::event(QEvent *e)
{
    if (e->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(e);
        for (int r = 0; r < V::kRowCount; ++r)
            for (int c = 0; c < 2; ++c)
                if (CellRect(r, c).contains(help->pos()) && !FTexts[r][c].isEmpty()) {
                    QToolTip::showText(help->globalPos(), FTexts[r][c], this, CellRect(r, c));
                    return true;
                }
        QToolTip::hideText();
        e->ignore();
        return true;
    }
    return QWidget::event(e);
}

void TByteValuesTable::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::FontChange)
        Measure();
    QWidget::changeEvent(e);
}
