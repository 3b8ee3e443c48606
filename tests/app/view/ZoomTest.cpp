// Zoom: the editor's font in steps from the keys, the menu and Ctrl+wheel, the grid laid out
// again, and the size kept as the settings' font size.

#include "TFeatureFixture.h"
#include "TViewCommands.h"
#include "TVxHexcavator.h"

#include <QAction>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {
struct ZoomTest : TFeatureTest {
    TViewCommands view{fx.Context()};
    int Size() const { return ed.font().pointSize(); }
    void Wheel(int notches, Qt::KeyboardModifiers mods)
    {
        const QPointF at(10, 10);
        QWheelEvent e(at, ed.mapToGlobal(at.toPoint()), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, mods,
                      Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(ed.viewport(), &e);
    }
};
} // namespace

TEST_F(ZoomTest, StepsKeepTheLayoutAndTheSettingsInStep)
{
    TSettings s = fx.Settings.Collect();
    s.Font.Size = 14;
    fx.Settings.Apply(s, true, "");
    ASSERT_EQ(Size(), 14);
    const int narrow = ed.Geometry().CharWidth();

    view.acZoomIn->trigger();
    EXPECT_EQ(Size(), 16);
    EXPECT_GT(ed.Geometry().CharWidth(), narrow);
    Wheel(2, Qt::ControlModifier);
    EXPECT_EQ(Size(), 20);
    const int32_t top = ed.TopRow();
    Wheel(-1, Qt::NoModifier); // without Ctrl the wheel scrolls, the size stays
    EXPECT_EQ(Size(), 20);
    EXPECT_EQ(ed.TopRow(), top);
    view.acZoomOut->trigger();
    EXPECT_EQ(Size(), 18);
    EXPECT_EQ(fx.Settings.Collect().Font.Size, 18);

    view.acZoomReset->trigger();
    EXPECT_EQ(Size(), 14);
    EXPECT_EQ(ed.Geometry().CharWidth(), narrow);
    // The steps end at the smallest and the largest size.
    for (int i = 0; i < 30; ++i)
        view.acZoomOut->trigger();
    EXPECT_EQ(Size(), 6);
    for (int i = 0; i < 30; ++i)
        view.acZoomIn->trigger();
    EXPECT_EQ(Size(), 72);
}
