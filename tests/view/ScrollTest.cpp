// Scroll bars, the wheel, and the caret while its row is scrolled away.

#include "ViewTestSupport.h"

#include <QApplication>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QWheelEvent>

namespace {
void Wheel(QWidget *w, int notches)
{
    const QPoint p(w->width() / 2, w->height() / 2);
    QWheelEvent e(p, w->mapToGlobal(p), QPoint(), QPoint(0, -120 * notches), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

QRect BarPart(QScrollBar *bar, QStyle::SubControl part)
{
    QStyleOptionSlider opt;
    opt.initFrom(bar);
    opt.subControls = QStyle::SC_All;
    opt.orientation = bar->orientation();
    opt.minimum = bar->minimum();
    opt.maximum = bar->maximum();
    opt.sliderPosition = bar->sliderPosition();
    opt.sliderValue = bar->value();
    opt.singleStep = bar->singleStep();
    opt.pageStep = bar->pageStep();
    if (bar->orientation() == Qt::Horizontal)
        opt.state |= QStyle::State_Horizontal;
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, part, bar);
}

// Drags the vertical bar's thumb so that it covers `fraction` of its travel.
void DragThumb(QScrollBar *bar, double fraction)
{
    const QRect groove = BarPart(bar, QStyle::SC_ScrollBarGroove);
    const QRect thumb = BarPart(bar, QStyle::SC_ScrollBarSlider);
    const QPoint from = thumb.center();
    const int travel = groove.height() - thumb.height();
    const QPoint to(from.x(), groove.top() + int(fraction * travel) + (from.y() - thumb.top()));
    QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, from);
    QMouseEvent move(QEvent::MouseMove, to, bar->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &move);
    QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, to);
}
} // namespace

TEST_F(TViewTest, ShortDocumentsDoNotScroll)
{
    Load(std::vector<uint8_t>(100, 1), 20);
    EXPECT_FALSE(View->verticalScrollBar()->isVisible());
    Wheel(View->viewport(), 3);
    EXPECT_EQ(View->TopRow(), 1);
}

TEST_F(TViewTest, TopRowStaysWithinTheLastPage)
{
    Load(std::vector<uint8_t>(98 * 16, 1), 20); // RowCount 100
    ASSERT_EQ(View->RowCount(), 100);
    ASSERT_EQ(View->VisibleRowCount(), 20);
    QScrollBar *bar = View->verticalScrollBar();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->minimum(), 1);
    EXPECT_EQ(bar->maximum(), 80);
    EXPECT_EQ(bar->pageStep(), 20);

    Wheel(View->viewport(), 1);
    EXPECT_EQ(View->TopRow(), 2);
    EXPECT_EQ(bar->value(), 2);
    EXPECT_EQ(Caret(), 0); // the wheel never moves the caret
    Wheel(View->viewport(), 200);
    EXPECT_EQ(View->TopRow(), 80);
    Wheel(View->viewport(), -500);
    EXPECT_EQ(View->TopRow(), 1);

    DragThumb(bar, 1.0);
    EXPECT_EQ(View->TopRow(), 80);
    // "Top" and "Bottom" from the bar's menu do nothing.
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(View->TopRow(), 80);
    Wheel(View->viewport(), -3);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(View->TopRow(), 77);
}

TEST_F(TViewTest, ThumbReachesTheMiddleOfALargeDocument)
{
    Load(std::vector<uint8_t>(4 << 20, 0x5A), 20);
    ASSERT_EQ(View->RowCount(), 262146);
    QScrollBar *bar = View->verticalScrollBar();
    DragThumb(bar, 0.5);
    const int32_t mid = (View->RowCount() - View->VisibleRowCount()) / 2;
    EXPECT_NEAR(View->TopRow(), mid, mid / 100);
    EXPECT_GT(View->TopRow(), 65535);
    EXPECT_EQ(bar->value(), View->TopRow());
    // The rows shown there are painted from the document: the first row's address.
    const QRect addr = View->CellRect(0, View->TopRow());
    EXPECT_FALSE(addr.isEmpty());
}

TEST_F(TViewTest, CaretHidesWhileItsRowIsScrolledAway)
{
    Load(std::vector<uint8_t>(16 * 100, 1), 10);
    View->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(View.get()));
    View->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(View->hasFocus());
    View->GotoOffset(16 * 3 + 4);
    EXPECT_TRUE(View->CaretShown());
    EXPECT_FALSE(View->CaretRect().isEmpty());
    Wheel(View->viewport(), 10);
    EXPECT_FALSE(View->CaretShown());
    EXPECT_TRUE(View->CaretRect().isEmpty());
    Wheel(View->viewport(), -10);
    EXPECT_TRUE(View->CaretShown());
    EXPECT_EQ(View->CaretRect().topLeft(), View->CellRect(6, 4).topLeft());
    EXPECT_EQ(Caret(), 16 * 3 + 4);
    // Overwrite shows a block one character wide, insert a two-pixel bar.
    EXPECT_EQ(View->CaretRect().width(), View->CharWidth());
    Key(Qt::Key_Insert);
    EXPECT_EQ(View->CaretRect().width(), 2);
    View->clearFocus();
    QApplication::processEvents();
    EXPECT_FALSE(View->CaretShown());
}

TEST_F(TViewTest, NarrowWindowScrollsTheByteColumnsOnly)
{
    Load(std::vector<uint8_t>(64, 1), 4);
    const TVxGridGeometry &g = View->Geometry();
    View->resize(g.FixedWidth() + 6 * View->ColWidth(2), View->height() + 30);
    QApplication::processEvents();
    QScrollBar *bar = View->horizontalScrollBar();
    ASSERT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->minimum(), 2);
    const QPoint rightArrow(bar->width() - bar->height() / 2, bar->height() / 2);
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, rightArrow);
    EXPECT_EQ(View->LeftCol(), 3);
    EXPECT_TRUE(View->CellRect(2, 1).isEmpty());
    EXPECT_EQ(View->CellRect(3, 1).left(), g.FixedWidth());
    EXPECT_EQ(View->CellRect(0, 1).left(), 0);
    // Moving the caret to the character side scrolls it into view.
    Key(Qt::Key_End);
    EXPECT_FALSE(View->CellRect(17, 1).isEmpty());
    EXPECT_LE(View->CellRect(17, 1).right(), View->viewport()->width());
    Key(Qt::Key_Home);
    EXPECT_EQ(View->LeftCol(), 2);
}
