// The window's size when no saved position exists: the whole grid shows in the editor's font.

#include "FakeUi.h"
#include "TByteValuesTable.h"
#include "TVxHexcavator.h"
#include "TfrmMain.h"

#include <QAction>
#include <QDockWidget>
#include <QFile>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {
struct DefaultSizeTest : ::testing::Test {
    TFakeUi ui;
    TSettingsInTempDir settings;
    TfrmMain frm;
    TVxHexcavator &ed = *frm.VxHexcavator1;

    void Show()
    {
        frm.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frm));
    }
    int ColumnsWidth() const
    {
        int sum = 0;
        for (int c = 0; c < TVxGridGeometry::kColCount; ++c)
            sum += ed.ColWidth(c);
        return sum;
    }
};
} // namespace

TEST_F(DefaultSizeTest, AFreshWindowShowsEveryColumn)
{
    Show();
    EXPECT_GE(ed.viewport()->width(), ColumnsWidth());
    EXPECT_GT(ed.ColWidth(19), 0); // the character column is among them
    EXPECT_FALSE(ed.horizontalScrollBar()->isVisible());
}

// The program opens its files after the window is made: the document's scroll bar and its
// eight-digit addresses must still leave every column in view.
TEST_F(DefaultSizeTest, AFileOpenedLaterTakesNoColumnAway)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("large.bin"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(0x10000010)); // sparse: loading takes a fraction of a second
    }
    const int before = ColumnsWidth();
    Show();
    frm.OpenFile(path);
    QCoreApplication::processEvents();
    ASSERT_GT(ColumnsWidth(), before);
    ASSERT_TRUE(ed.verticalScrollBar()->isVisible());
    EXPECT_GE(ed.viewport()->width(), ColumnsWidth());
    EXPECT_FALSE(ed.horizontalScrollBar()->isVisible());
}

// Shown from the View menu, the byte values panel widens the default window by what it takes
// (within the screen), its values whole, and the grid keeps every column.
TEST_F(DefaultSizeTest, TheByteValuesPanelLeavesTheGridWhole)
{
    Show();
    const int before = frm.width();
    frm.findChild<QAction *>(QStringLiteral("acViewByteValues"))->trigger();
    QCoreApplication::processEvents();
    auto *dock = frm.findChild<QDockWidget *>(QStringLiteral("ByteValuesPanel"));
    ASSERT_TRUE(dock->isVisible());
    const int room = frm.screen()->availableGeometry().width();
    EXPECT_GT(frm.width(), before);
    EXPECT_LE(frm.frameGeometry().width(), room);
    EXPECT_GE(ed.viewport()->width(), ColumnsWidth());
    EXPECT_FALSE(ed.horizontalScrollBar()->isVisible());
    auto *table = frm.findChild<TByteValuesTable *>(QStringLiteral("ByteValuesPanelView"));
    // Where the screen held both (not under Wine, whose headless fonts are far wider), the
    // table shows whole too.
    if (frm.frameGeometry().width() < room) {
        EXPECT_GE(dock->widget()->width(), table->sizeHint().width());
    }
}
