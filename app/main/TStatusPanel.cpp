#include "TStatusPanel.h"

#include "TWidestText.h"

#include <QEvent>
#include <QFontMetrics>

TStatusPanel::TStatusPanel(QWidget *parent) : QLabel(parent)
{
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    // Qt's own indent pads the left side only; the padding is set per font in Measure().
    setIndent(0);
    Measure();
}

void TStatusPanel::SetLongestTexts(const QStringList &texts)
{
    FLongest = texts;
    Measure();
}

void TStatusPanel::Measure()
{
    const QFontMetrics fm(font());
    const int pad = fm.horizontalAdvance(QLatin1Char('x')) / 2;
    setContentsMargins(pad, 0, pad, 0);
    FTextWidth = TWidestText::Width(fm, FLongest);
    updateGeometry();
}

QSize TStatusPanel::sizeHint() const
{
    const QMargins m = contentsMargins();
    return QSize(FTextWidth + 2 * frameWidth() + m.left() + m.right() + 2 * margin(), QLabel::sizeHint().height());
}

QSize TStatusPanel::minimumSizeHint() const { return sizeHint(); }

void TStatusPanel::changeEvent(QEvent *e)
{
    QLabel::changeEvent(e);
    if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange)
        Measure();
}
