// Another program changing, truncating, replacing or deleting the open file, driven through
// the real file system and the window's event loop: what is asked, how often, and what Yes
// and No do. Our own saves are never reported.

#include "FakeUi.h"
#include "TEditCommands.h"
#include "TFeatureFixture.h"
#include "TFileCommands.h"
#include "TFileWatch.h"
#include "TVxMessageBox.h"
#include "TVxHexcavator.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#endif

namespace {
// The replacing rename of the system (rename(2); MoveFileExW on Windows, whose C rename
// refuses an existing target).
bool ReplaceByRename(const QString &from, const QString &to)
{
#ifdef _WIN32
    return ::MoveFileExW(reinterpret_cast<const wchar_t *>(from.utf16()), reinterpret_cast<const wchar_t *>(to.utf16()),
                         MOVEFILE_REPLACE_EXISTING) != 0;
#else
    return std::rename(from.toUtf8().constData(), to.toUtf8().constData()) == 0;
#endif
}
const QString kChanged = QStringLiteral("ファイルが他のプログラムによって変更されました。読み直しますか？");
constexpr int kDeadlineMs = 10000;

QString DeletedNotice(const QString &name)
{
    return name + QStringLiteral("\r\nファイルは他のプログラムによって削除されたため、もう存在しません。");
}

// The file commands with the edit commands (for the read-only switch), without the main
// window: the watch is the file feature's own.
struct FileWatchTest : TFeatureTest {
    TFileCommands files{fx.Context()};
    TEditCommands edit{fx.Context()};
    TFileWatch &watch = files.Watch();

    FileWatchTest() { fx.Window.addActions(fx.Places.All()); }

    // Opens a new file with these bytes, read-only as files open.
    QString Open(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(name);
        WriteTestFile(path, bytes);
        files.OpenFile(path);
        return path;
    }
    QString OpenWritable(const QString &name, const QByteArray &bytes)
    {
        QString path = Open(name, bytes);
        edit.acReadOnly->trigger();
        return path;
    }
    // Runs the event loop until n boxes were shown; false on the deadline or when more were.
    bool WaitForMessages(int n)
    {
        return QTest::qWaitFor([&] { return ui.Messages.size() >= n; }, kDeadlineMs) && ui.Messages.size() == n;
    }
    // Lets the signals already on their way be handled, with the checks they schedule.
    void Settle()
    {
        QCoreApplication::processEvents();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !watch.CheckScheduled(); }, kDeadlineMs));
    }
};
} // namespace

// Sizes differ between states throughout: a rewrite of the same size within one tick of the
// file system's clock would leave the identity as it was.

TEST_F(FileWatchTest, RewriteAsksOnceAndYesReadsTheNewBytes)
{
    const QString f = OpenWritable(QStringLiteral("w.bin"), "abc");
    ed.OverwriteByte(0, 'Q', true); // an edit that Yes throws away with its history
    ui.Answers = {idYes};
    WriteTestFile(f, "other bytes");
    ASSERT_TRUE(WaitForMessages(1));
    EXPECT_EQ(ui.Messages[0], kChanged);
    EXPECT_EQ(ui.Flags[0], unsigned(mbYesNo | mbIconQuestion));
    EXPECT_EQ(EditorBytes(ed), QByteArray("other bytes"));
    EXPECT_EQ(ed.UndoCount(), 0);
    EXPECT_FALSE(ed.Modified());
    EXPECT_FALSE(ed.ReadOnlyMode()); // reading again keeps the mode
    watch.Check(); // the file now is what the document holds
    EXPECT_EQ(ui.Messages.size(), 1);
}

TEST_F(FileWatchTest, NoKeepsTheDocumentAndOnlyAFurtherChangeAsksAgain)
{
    const QString f = Open(QStringLiteral("t.bin"), "0123456789");
    ui.Answers = {idNo};
    ASSERT_TRUE(QFile::resize(f, 4));
    ASSERT_TRUE(WaitForMessages(1));
    EXPECT_EQ(ui.Messages[0], kChanged);
    EXPECT_EQ(EditorBytes(ed), QByteArray("0123456789"));

    // The same state again: direct checks, and a signal about something not compared.
    watch.Check();
    ASSERT_TRUE(QFile::setPermissions(f, QFile::ReadOwner));
    Settle();
    EXPECT_EQ(ui.Messages.size(), 1);

    ASSERT_TRUE(QFile::setPermissions(f, QFile::ReadOwner | QFile::WriteOwner));
    ui.Answers = {idNo};
    WriteTestFile(f, "a second change");
    ASSERT_TRUE(WaitForMessages(2));
    EXPECT_EQ(ui.Messages[1], kChanged);
    EXPECT_EQ(EditorBytes(ed), QByteArray("0123456789"));
    EXPECT_TRUE(ed.ReadOnlyMode());
}

TEST_F(FileWatchTest, ReplacedFileIsReportedAndStaysWatched)
{
    const QString f = Open(QStringLiteral("r.bin"), "abc");
    // The way many programs save: a new file renamed over the old one. The second time the
    // old file is still held open elsewhere, so it lives on and the system keeps watching it.
    // Windows refuses to rename over a file that someone holds open without sharing its
    // deletion (as QFile opens), so there only the first way applies.
#ifdef _WIN32
    const int ways = 1;
#else
    const int ways = 2;
#endif
    for (int held = 0; held < ways; ++held) {
        SCOPED_TRACE(held ? "old file held open" : "old file gone");
        QFile old(f);
        if (held) {
            ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        }
        const QString fresh = dir.filePath(QStringLiteral("r.new"));
        WriteTestFile(fresh, QByteArray("replaced") + QByteArray(held, '!'));
        ui.Answers = {idNo};
        ASSERT_TRUE(ReplaceByRename(fresh, f));
        ASSERT_TRUE(WaitForMessages(2 * held + 1));
        EXPECT_EQ(ui.Messages.last(), kChanged);
        EXPECT_EQ(EditorBytes(ed), held ? QByteArray("written in place") : QByteArray("abc"));

        ui.Answers = {idYes};
        WriteTestFile(f, "written in place" + QByteArray(held, '!'));
        ASSERT_TRUE(WaitForMessages(2 * held + 2));
        EXPECT_EQ(EditorBytes(ed), "written in place" + QByteArray(held, '!'));
    }
}

TEST_F(FileWatchTest, DeletionIsToldOnceAndTheFileComingBackIsAChange)
{
    const QString f = Open(QStringLiteral("d.bin"), "abc");
    ASSERT_TRUE(QFile::remove(f));
    ASSERT_TRUE(WaitForMessages(1));
    EXPECT_EQ(ui.Messages[0], DeletedNotice(QStringLiteral("d.bin")));
    EXPECT_EQ(ui.Flags[0], unsigned(mbOK | mbIconInformation));
    EXPECT_EQ(EditorBytes(ed), QByteArray("abc"));
    EXPECT_EQ(QString::fromStdString(ed.FileName()), f);
    watch.Check();
    EXPECT_EQ(ui.Messages.size(), 1);

    ui.Answers = {idYes};
    WriteTestFile(f, "back again");
    ASSERT_TRUE(WaitForMessages(2));
    EXPECT_EQ(ui.Messages[1], kChanged);
    EXPECT_EQ(EditorBytes(ed), QByteArray("back again"));
}

TEST_F(FileWatchTest, OwnSaveIsNotReportedAndChangesAfterItAre)
{
    const QString f = OpenWritable(QStringLiteral("s.bin"), "abc");
    fx.Window.show();
    fx.Window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&fx.Window));
    ed.setFocus();
    QTest::keyClicks(&ed, QStringLiteral("5a"));
    QTest::keyClick(&ed, Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(ReadTestFile(f), QByteArray("Zbc"));
    Settle();
    EXPECT_TRUE(ui.Messages.isEmpty());

    // The save renamed a new file over the watched one; the watch is on the new one.
    ui.Answers = {idYes};
    WriteTestFile(f, "changed later");
    ASSERT_TRUE(WaitForMessages(1));
    EXPECT_EQ(ui.Messages[0], kChanged);
    EXPECT_EQ(EditorBytes(ed), QByteArray("changed later"));
}

TEST_F(FileWatchTest, SaveAsMovesTheWatchToTheNewName)
{
    const QString old = OpenWritable(QStringLiteral("old.bin"), "abc");
    const QString saved = dir.filePath(QStringLiteral("new.bin"));
    ui.FileAnswers = {saved};
    files.acSaveAs->trigger();
    ASSERT_EQ(QString::fromStdString(ed.FileName()), saved);
    Settle();
    EXPECT_TRUE(ui.Messages.isEmpty());
    EXPECT_EQ(watch.Watched(), QStringList{saved});

    WriteTestFile(old, "no longer this document's");
    ui.Answers = {idYes};
    WriteTestFile(saved, "the saved one changed");
    ASSERT_TRUE(WaitForMessages(1));
    EXPECT_EQ(EditorBytes(ed), QByteArray("the saved one changed"));
}

TEST_F(FileWatchTest, ChangesWhileTheQuestionIsOpenAreCheckedOnceAfterIt)
{
    const QString f = Open(QStringLiteral("q.bin"), "abc");
    int shownWhileOpen = -1;
    ui.WhileShowing = [&] {
        WriteTestFile(f, "changed again meanwhile");
        // Its signal arrives while the box is open ...
        ASSERT_TRUE(QTest::qWaitFor([&] { return watch.CheckScheduled(); }, kDeadlineMs));
        // ... and a check coming due then opens no second box.
        watch.Check();
        shownWhileOpen = ui.Messages.size();
    };
    ui.Answers = {idNo, idNo};
    WriteTestFile(f, "first change");
    ASSERT_TRUE(WaitForMessages(2));
    EXPECT_EQ(shownWhileOpen, 1);
    EXPECT_EQ(ui.Messages[1], kChanged);
    Settle();
    EXPECT_EQ(ui.Messages.size(), 2);
    EXPECT_EQ(EditorBytes(ed), QByteArray("abc"));
}
