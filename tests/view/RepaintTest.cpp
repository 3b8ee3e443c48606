// Caret moves repaint only the rows they change. What the window shows afterwards (its
// backing store) must be what a full repaint draws, for any sequence of moves: the drawn
// caret is inverted in place, so a row left out or painted twice shows as a difference.

#include "ViewTestSupport.h"

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QStyleHints>

#include <random>

namespace {
QImage OnScreen(QWidget *w)
{
    const QPoint at = w->mapTo(w->window(), QPoint(0, 0));
    const QPixmap shot =
        QGuiApplication::primaryScreen()->grabWindow(w->window()->winId(), at.x(), at.y(), w->width(), w->height());
    return shot.toImage().convertToFormat(QImage::Format_RGB32);
}

QImage Fresh(QWidget *w) { return w->grab().toImage().convertToFormat(QImage::Format_RGB32); }
} // namespace

class TRepaintTest : public TViewTest {
protected:
    void SetUp() override
    {
        // A caret that does not blink between the two pictures.
        QGuiApplication::styleHints()->setCursorFlashTime(0);
        TViewTest::SetUp();
        View->activateWindow();
        View->setFocus();
    }
    void TearDown() override
    {
        TViewTest::TearDown();
        QGuiApplication::styleHints()->setCursorFlashTime(1000);
    }
    void Settle()
    {
        QApplication::processEvents();
        QApplication::processEvents();
    }
};

TEST_F(TRepaintTest, WhatAMoveLeavesOnScreenIsAFullRepaint)
{
    std::vector<uint8_t> bytes(16 * 64 + 5);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = uint8_t(i * 37 + 11);
    Load(bytes, 12);
    Settle();
    ASSERT_TRUE(View->hasFocus());
    ASSERT_EQ(OnScreen(View->viewport()), Fresh(View->viewport())) << "the comparison itself";

    const Qt::Key keys[] = {Qt::Key_Right, Qt::Key_Left, Qt::Key_Up, Qt::Key_Down, Qt::Key_Home, Qt::Key_End};
    std::mt19937 rng(7);
    for (int step = 0; step < 300; ++step) {
        const int what = int(rng() % 16);
        if (what < 11) {
            const bool shift = rng() % 3 == 0;
            Key(keys[rng() % 6], shift ? Qt::ShiftModifier : Qt::NoModifier);
            if (shift)
                ReleaseModifiers();
        } else if (what < 13) {
            Key(rng() % 2 ? Qt::Key_PageDown : Qt::Key_PageUp);
        } else {
            // A click, or a drag whose end jumps rows: the rows it passes change selection.
            auto visibleCell = [&] { return CellPoint(2 + int(rng() % 16), View->TopRow() + int32_t(rng() % 10)); };
            const QPoint p = visibleCell();
            Press(p);
            for (int moves = int(rng() % 3); moves > 0; --moves)
                MoveTo(visibleCell());
            Release(p);
        }
        Settle();
        ASSERT_EQ(OnScreen(View->viewport()), Fresh(View->viewport())) << "after step " << step;
    }
}
