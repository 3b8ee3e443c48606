// Bookmarks from the commands: set on the selection or the caret's byte, taken away again,
// visited in order with wrapping, outlined in the grid, and told when there are none; the
// list dialog; the bookmarks file across loads, changed files, unsaved edits and damage.

#include "TBookmarkCommands.h"
#include "TBookmarkPersistence.h"
#include "TFeatureFixture.h"
#include "TVxBookmarkStore.h"
#include "TfrmBookmarks.h"

#include <QAction>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QPushButton>
#include <QTreeWidget>

namespace {
struct BookmarkCommandsTest : TFeatureTest {
    TBookmarkCommands marks{fx.Context()};

    QString path;
    void SetUp() override
    {
        path = dir.filePath(QStringLiteral("f.bin"));
        WriteTestFile(path, QByteArray(4096, 'x'));
        ed.LoadFromFile(path.toStdString());
        fx.Window.resize(1200, 600);
        fx.Window.show();
    }
    void Mark(int32_t first, int32_t last)
    {
        ed.SetSelection(first, last);
        marks.acToggleBookmark->trigger();
        ed.SetSelection(-1, -1);
    }
    // What the bookmarks file holds for the test file: (offset, length) pairs.
    std::vector<std::pair<int32_t, int32_t>> Stored() const
    {
        std::vector<std::pair<int32_t, int32_t>> out;
        const auto read = TVxBookmarkStore(TBookmarkPersistence::StoreFileName().toStdString()).Read();
        if (const TVxBookmarkRecord *r = read.File.Find(path.toStdString()))
            for (const TVxBookmark &m : r->Marks)
                out.emplace_back(m.Offset, m.Length);
        return out;
    }
    std::vector<std::pair<int32_t, int32_t>> Live() const
    {
        std::vector<std::pair<int32_t, int32_t>> out;
        for (const TVxBookmark &m : ed.Bookmarks().All())
            out.emplace_back(m.Offset, m.Length);
        return out;
    }
    using TPairs = std::vector<std::pair<int32_t, int32_t>>;
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

TEST_F(BookmarkCommandsTest, TheListRenamesRecoloursDeletesAndJumpsAndTheFileKeepsIt)
{
    Mark(0x10, 0x13);
    Mark(0x300, 0x300);
    Mark(0x800, 0x80F);
    ui.StringAnswers = {QStringLiteral("ヘッダ\tA")};
    ui.ColorAnswers = {QColor(0x12, 0x34, 0x56)};
    ed.GotoOffset(0x200);
    ASSERT_TRUE(DriveDialog<TfrmBookmarks>(marks.acBookmarkList, [&](TfrmBookmarks &d) {
        EXPECT_EQ(d.lstMarks->topLevelItemCount(), 3);
        EXPECT_EQ(d.lstMarks->currentItem()->text(0), QStringLiteral("00000300")) << "the one after the caret";
        EXPECT_EQ(d.lstMarks->currentItem()->text(1), QStringLiteral("1"));
        d.btnRename->click();
        d.btnColor->click();
        EXPECT_EQ(d.lstMarks->currentItem()->text(2), QStringLiteral("ヘッダ\tA"));
        EXPECT_EQ(d.lstMarks->currentItem()->text(3), QStringLiteral("#123456"));
        d.SelectId(ed.Bookmarks().All()[0].Id);
        d.btnDelete->click();
        EXPECT_EQ(d.lstMarks->topLevelItemCount(), 2);
        EXPECT_EQ(d.lstMarks->currentItem()->text(0), QStringLiteral("00000300")) << "the next row is current";
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        QApplication::sendEvent(d.lstMarks, &down);
        QKeyEvent ret(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(d.lstMarks, &ret);
    }));
    EXPECT_EQ(ed.GetCaretOffset(), 0x800) << "Return jumped to the current row";

    // Every change reached the file: a load gives the same bookmarks back, names and colours.
    EXPECT_EQ(Stored(), (TPairs{{0x300, 1}, {0x800, 16}}));
    ed.LoadFromFile(path.toStdString());
    ASSERT_EQ(Live(), (TPairs{{0x300, 1}, {0x800, 16}}));
    EXPECT_EQ(ed.Bookmarks().All()[0].Name, "ヘッダ\tA");
    EXPECT_EQ(ed.Bookmarks().All()[0].Color, 0x563412u);
    EXPECT_TRUE(ui.Messages.isEmpty()) << ui.Messages.join('|').toStdString();
}

TEST_F(BookmarkCommandsTest, OffsetsReachTheFileOnlyWhileTheyMeanItsBytes)
{
    Mark(0x100, 0x101);
    ed.OverwriteByte(0, 'y', true);
    Mark(0x200, 0x200);
    EXPECT_EQ(Stored(), (TPairs{{0x100, 2}, {0x200, 1}})) << "an overwrite moves nothing";
    ed.InsertByte(0, 'z', true);
    Mark(0x300, 0x300);
    EXPECT_EQ(Stored(), (TPairs{{0x100, 2}, {0x200, 1}})) << "after an insert, the file's bytes are elsewhere";
    ASSERT_TRUE(ed.SaveToFile(path.toStdString(), true));
    EXPECT_EQ(Stored(), (TPairs{{0x101, 2}, {0x201, 1}, {0x300, 1}})) << "the save wrote them as they now are";

    // Edits thrown away take the bookmarks made meanwhile with them.
    ed.DeleteRange(0, 0x180, true);
    Mark(0x10, 0x10);
    ed.LoadFromFile(path.toStdString());
    EXPECT_EQ(Live(), (TPairs{{0x101, 2}, {0x201, 1}, {0x300, 1}}));
}

TEST_F(BookmarkCommandsTest, AFileChangedSinceKeepsThemOnlyAtItsSizeAndSaysSoOnce)
{
    Mark(0x20, 0x2F);
    const auto rewrite = [&](int size) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(size, 'q'));
        f.close();
        // Another second on the clock, whatever the file system's resolution.
        f.open(QIODevice::ReadWrite);
        f.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime);
    };
    rewrite(4096);
    ed.LoadFromFile(path.toStdString());
    EXPECT_EQ(Live(), (TPairs{{0x20, 16}}));
    ASSERT_EQ(ui.Messages.size(), 1);
    EXPECT_TRUE(ui.Messages[0].contains(QStringLiteral("同じ位置に残しました"))) << ui.Messages[0].toStdString();
    ed.LoadFromFile(path.toStdString());
    EXPECT_EQ(ui.Messages.size(), 1) << "said once";
    EXPECT_EQ(Live(), (TPairs{{0x20, 16}}));

    rewrite(4000);
    ed.LoadFromFile(path.toStdString());
    EXPECT_TRUE(Live().empty());
    ASSERT_EQ(ui.Messages.size(), 2);
    EXPECT_TRUE(ui.Messages[1].contains(QStringLiteral("削除しました")));
    EXPECT_TRUE(Stored().empty());
    ed.LoadFromFile(path.toStdString());
    EXPECT_EQ(ui.Messages.size(), 2);
}

TEST_F(BookmarkCommandsTest, ADamagedFileIsToldReadForWhatItHoldsAndLeftUntilTheUserChangesBookmarks)
{
    Mark(0x40, 0x40);
    const QString store = TBookmarkPersistence::StoreFileName();
    QFile f(store);
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write("B\tnot a bookmark\n\x01\x02\n");
    f.close();
    const QByteArray damaged = ReadTestFile(store);
    ed.LoadFromFile(path.toStdString());
    EXPECT_EQ(Live(), (TPairs{{0x40, 1}}));
    ASSERT_EQ(ui.Messages.size(), 1);
    EXPECT_TRUE(ui.Messages[0].contains(QStringLiteral("壊れています")));
    ed.InsertByte(0, 1, true);
    ASSERT_TRUE(ed.SaveToFile(path.toStdString(), true));
    EXPECT_EQ(ReadTestFile(store), damaged) << "a save does not overwrite it";
    Mark(0x80, 0x80);
    EXPECT_EQ(Stored(), (TPairs{{0x41, 1}, {0x80, 1}}));
    EXPECT_FALSE(TVxBookmarkStore(store.toStdString()).Read().Damaged());
    EXPECT_EQ(ui.Messages.size(), 1);
}
