// Bookmarks from the commands: set on the selection or the caret's byte, taken away again,
// visited in order with wrapping, outlined in the grid, and told when there are none.

#include "TBookmarkCommands.h"
#include "TFeatureFixture.h"

#include <QAction>
#include <QImage>

namespace {
struct BookmarkCommandsTest : TFeatureTest {
    TBookmarkCommands marks{fx.Context()};

    void SetUp() override
    {
        const QString path = dir.filePath(QStringLiteral("f.bin"));
        WriteTestFile(path, QByteArray(4096, 'x'));
        ed.LoadFromFile(path.toStdString());
        fx.Window.resize(1200, 600);
        fx.Window.show();
    }
};
} // namespace

TEST_F(BookmarkCommandsTest, SetVisitWrapAndClear)
{
    marks.acNextBookmark->trigger();
    EXPECT_EQ(ui.Messages.value(0), QStringLiteral("しおりがありません。"));

    ed.SetSelection(0x40, 0x4F);
    marks.acToggleBookmark->trigger();
    ed.SetSelection(-1, -1);
    ed.GotoOffset(0x200);
    marks.acToggleBookmark->trigger();
    ASSERT_EQ(ed.Bookmarks().Count(), 2u);
    EXPECT_EQ(ed.Bookmarks().All()[0].Length, 16);
    EXPECT_EQ(ed.Bookmarks().All()[1].Length, 1);

    ed.GotoOffset(0);
    marks.acNextBookmark->trigger();
    EXPECT_EQ(ed.GetCaretOffset(), 0x40);
    marks.acNextBookmark->trigger();
    EXPECT_EQ(ed.GetCaretOffset(), 0x200);
    marks.acNextBookmark->trigger();
    EXPECT_EQ(ed.GetCaretOffset(), 0x40) << "past the last, the first";
    marks.acPrevBookmark->trigger();
    EXPECT_EQ(ed.GetCaretOffset(), 0x200) << "before the first, the last";

    // The outline shows in the bookmark's colour at the first byte's cell, on the hex side.
    const QImage shot = ed.viewport()->grab().toImage();
    const QRect cell = ed.CellRect(TVxHexcavator::OffsetToCell(0x200).Col, TVxHexcavator::OffsetToCell(0x200).Row);
    ASSERT_FALSE(cell.isEmpty());
    const QColor want(0x00, 0x78, 0xD7);
    EXPECT_EQ(shot.pixelColor(cell.left(), cell.center().y()), want);
    EXPECT_NE(shot.pixelColor(cell.center()), want) << "inside, the byte stays readable";

    marks.acToggleBookmark->trigger(); // at the caret: the one-byte bookmark goes
    EXPECT_EQ(ed.Bookmarks().Count(), 1u);
}
