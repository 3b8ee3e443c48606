// The main window driven as a user would, with the dialogs answered by TFakeUi: command states,
// status bar and title, the save question, the open rule, dropped files.

#include "FakeUi.h"
#include "TFileCommands.h"
#include "TFileFaults.h"
#include "TVxHexcavator.h"
#include "TfrmMain.h"

#include <QAction>
#include <algorithm>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QUrl>
#include <gtest/gtest.h>

namespace {
struct MainWindowTest : TWindowTest {

    QString File(const QString &name, const QByteArray &bytes)
    {
        QString p = dir.filePath(name);
        WriteTestFile(p, bytes);
        return p;
    }
    // Opens a file here and makes it writable, as Ctrl+Shift+R would.
    void OpenWritable(const QString &path)
    {
        ::OpenWritable(frm, path);
        ASSERT_FALSE(ed.ReadOnlyMode());
    }
};
} // namespace

TEST_F(MainWindowTest, FreshWindowShowsAnUntitledEmptyDocument)
{
    EXPECT_EQ(frm.windowTitle(), QStringLiteral("無題 - へくすかばっと。"));
    EXPECT_EQ(frm.PanelText(1), QStringLiteral("位置 0 (0x00)"));
    EXPECT_EQ(frm.PanelText(2), QStringLiteral("ファイル 0 バイト"));
    EXPECT_EQ(frm.PanelText(3), QStringLiteral("ASCII"));
    EXPECT_EQ(frm.PanelText(4), QStringLiteral("上書"));
    for (QAction *x : {Command(frm, "acUndo"), Command(frm, "acCut"), Command(frm, "acCopy"), Command(frm, "acCopyText"), Command(frm, "acReload"), Command(frm, "acDelete")})
        EXPECT_FALSE(x->isEnabled()) << x->objectName().toStdString();
    EXPECT_TRUE(Command(frm, "acSave")->isEnabled());
    EXPECT_EQ(Command(frm, "acCopyText")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+C")));
    EXPECT_EQ(Command(frm, "acReadOnly")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+R")));
}

TEST_F(MainWindowTest, OpeningMakesReadOnlyAndDisablesWriting)
{
    frm.OpenFile(File(QStringLiteral("data.bin"), QByteArray(70000, 'x')));
    EXPECT_TRUE(ed.ReadOnlyMode());
    EXPECT_TRUE(Command(frm, "acReadOnly")->isChecked());
    EXPECT_EQ(frm.PanelText(4), QStringLiteral("書禁"));
    EXPECT_EQ(frm.PanelText(2), QStringLiteral("ファイル 70,000 バイト"));
    EXPECT_EQ(frm.windowTitle(), QStringLiteral("data.bin - へくすかばっと。"));
    EXPECT_TRUE(Command(frm, "acReload")->isEnabled());
    for (QAction *x : {Command(frm, "acSave"), Command(frm, "acInputStr"), Command(frm, "acInsertFile"), Command(frm, "acReplace"), Command(frm, "acDelete"), Command(frm, "acPaste")})
        EXPECT_FALSE(x->isEnabled()) << x->objectName().toStdString();

    ed.SetSelection(0, 1023);
    EXPECT_EQ(frm.PanelText(1), QStringLiteral("選択 1,024 (0x400) バイト"));
    EXPECT_TRUE(Command(frm, "acCopy")->isEnabled());
    EXPECT_TRUE(Command(frm, "acCopyText")->isEnabled());
    EXPECT_FALSE(Command(frm, "acCut")->isEnabled());

    Command(frm, "acReadOnly")->trigger();
    EXPECT_FALSE(ed.ReadOnlyMode());
    EXPECT_EQ(frm.PanelText(4), QStringLiteral("上書"));
    EXPECT_TRUE(Command(frm, "acCut")->isEnabled());
    EXPECT_TRUE(Command(frm, "acDelete")->isEnabled());
    EXPECT_TRUE(Command(frm, "acSave")->isEnabled());
}

TEST_F(MainWindowTest, TitleMarksChangesAndUndoFollowsTheHistory)
{
    OpenWritable(File(QStringLiteral("t.bin"), "0123456789"));
    ed.setFocus();
    QTest::keyClicks(&ed, QStringLiteral("a5"));
    EXPECT_EQ(frm.windowTitle(), QStringLiteral("t.bin * - へくすかばっと。"));
    EXPECT_TRUE(Command(frm, "acUndo")->isEnabled());
    EXPECT_EQ(frm.PanelText(1), QStringLiteral("位置 1 (0x01)"));
    EXPECT_FALSE(Command(frm, "acRedo")->isEnabled());
    Command(frm, "acUndo")->trigger();
    EXPECT_EQ(frm.windowTitle(), QStringLiteral("t.bin - へくすかばっと。"));
    EXPECT_FALSE(Command(frm, "acUndo")->isEnabled());

    // Redo by either key, enabled exactly while there is something to redo.
    EXPECT_TRUE(Command(frm, "acRedo")->isEnabled());
    frm.show(); // shortcuts reach only a window that has the keyboard
    frm.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frm));
    ed.setFocus();
    QTest::keyClick(&ed, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(frm.windowTitle(), QStringLiteral("t.bin * - へくすかばっと。"));
    EXPECT_EQ(EditorBytes(ed).left(1), QByteArray("\xA5", 1));
    EXPECT_FALSE(Command(frm, "acRedo")->isEnabled());
    Command(frm, "acUndo")->trigger();
    QTest::keyClick(&ed, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    // Let go of the modifiers too: Qt keeps the last event's as the keyboard state.
    QTest::keyRelease(&ed, Qt::Key_Shift);
    QTest::keyRelease(&ed, Qt::Key_Control);
    EXPECT_EQ(EditorBytes(ed).left(1), QByteArray("\xA5", 1));
    Command(frm, "acUndo")->trigger();
    ed.OverwriteByte(5, 'x', true); // a new change: nothing to redo any more
    EXPECT_FALSE(Command(frm, "acRedo")->isEnabled());

    // After undo in the Edit menu and on the toolbar.
    const QList<QAction *> edit = frm.menuBar()->actions().at(1)->menu()->actions();
    EXPECT_EQ(edit.indexOf(Command(frm, "acRedo")), edit.indexOf(Command(frm, "acUndo")) + 1);
    const QList<QAction *> tools = frm.ToolBar()->actions();
    EXPECT_EQ(tools.indexOf(Command(frm, "acRedo")), tools.indexOf(Command(frm, "acUndo")) + 1);
}

TEST_F(MainWindowTest, SaveQuestionOnClose)
{
    const QString f = File(QStringLiteral("c.bin"), "abc");
    OpenWritable(f);
    ed.OverwriteByte(0, 'X', true);

    ui.Answers = {2}; // Cancel
    EXPECT_FALSE(frm.close());
    EXPECT_EQ(ui.Messages.last(), QStringLiteral("c.bin への変更を保存しますか？"));
    EXPECT_EQ(ReadTestFile(f), QByteArray("abc"));

    ui.Answers = {6}; // Yes: saved under its name, then closes
    EXPECT_TRUE(frm.close());
    EXPECT_EQ(ReadTestFile(f), QByteArray("Xbc"));
    EXPECT_FALSE(ed.Modified());

    ed.OverwriteByte(1, 'Y', true);
    ui.Answers = {7}; // No: closes without saving
    EXPECT_TRUE(frm.close());
    EXPECT_EQ(ReadTestFile(f), QByteArray("Xbc"));
}

TEST_F(MainWindowTest, ReadOnlyDocumentSavesThroughTheDialog)
{
    const QString f = File(QStringLiteral("r.bin"), "abc");
    OpenWritable(f);
    ed.OverwriteByte(0, 'Z', true);
    Command(frm, "acReadOnly")->trigger(); // read-only again, still modified
    ui.Answers = {6};
    ui.FileAnswers = {dir.filePath(QStringLiteral("copy.bin"))};
    EXPECT_TRUE(frm.close());
    EXPECT_EQ(ui.FileDialogs, 1);
    EXPECT_EQ(ReadTestFile(dir.filePath(QStringLiteral("copy.bin"))), QByteArray("Zbc"));
    EXPECT_EQ(ReadTestFile(f), QByteArray("abc"));
}

TEST_F(MainWindowTest, OpenRuleHandsFurtherFilesToNewInstances)
{
    const QString first = File(QStringLiteral("1.bin"), "one");
    const QString second = File(QStringLiteral("2.bin"), "two");
    frm.OpenFile(first);
    frm.OpenFile(second);
    ASSERT_EQ(ui.Started.size(), 1);
    EXPECT_EQ(ui.Started[0], (QStringList{TFileCommands::ProgramPath(), second}));
    EXPECT_EQ(QString::fromStdString(ed.FileName()), first);

    frm.OpenFile(dir.filePath(QStringLiteral("missing.bin")));
    EXPECT_EQ(ui.Started.size(), 1);

    ui.StartFails = true; // reported, not swallowed
    frm.OpenFile(second);
    ASSERT_EQ(ui.Messages.size(), 1);
    EXPECT_TRUE(ui.Messages[0].contains(second));
    EXPECT_EQ(ui.Flags[0], 0x10u);
    ui.StartFails = false;

    Command(frm, "acNew")->trigger();
    EXPECT_EQ(ui.Started.last(), QStringList{TFileCommands::ProgramPath()});

    const int started = ui.Started.size();
    ui.Shift = true; // Shift replaces the document here
    frm.OpenFile(second);
    EXPECT_EQ(QString::fromStdString(ed.FileName()), second);
    EXPECT_EQ(ui.Started.size(), started);
}

TEST_F(MainWindowTest, ContextMenuOffersTheEditCommands)
{
    QStringList names;
    for (QAction *x : frm.EditorMenu()->actions())
        names << (x->isSeparator() ? QStringLiteral("-") : x->objectName());
    EXPECT_EQ(names, (QStringList{"acUndo", "acRedo", "-", "acCut", "acCopy", "acCopyText", "acPaste", "-", "acDelete", "-",
                                  "acInputStr"}));
}

// The features place their commands by name; a place the menu skeleton does not list would
// leave its commands out of every menu without a word.
TEST_F(MainWindowTest, EveryCommandOfEveryFeatureIsInAMenu)
{
    QList<QAction *> inMenus;
    QList<QMenu *> menus;
    for (QAction *top : frm.menuBar()->actions())
        menus << top->menu();
    while (!menus.isEmpty()) {
        QMenu *m = menus.takeFirst();
        for (QAction *x : m->actions()) {
            inMenus << x;
            if (x->menu())
                menus << x->menu();
        }
    }
    int commands = 0;
    for (QAction *x : frm.findChildren<QAction *>()) {
        const QString name = x->objectName();
        if (!name.startsWith(QStringLiteral("ac")) || name == QStringLiteral("acNextInstance"))
            continue; // Ctrl+Tab has no menu entry: the window holds it for its shortcut
        ++commands;
        EXPECT_TRUE(inMenus.contains(x)) << name.toStdString();
    }
    EXPECT_GT(commands, 40);
}

TEST_F(MainWindowTest, UntitledChangesAskBeforeOpening)
{
    ed.InsertByte(0, 1, true);
    const QString f = File(QStringLiteral("o.bin"), "zz");
    ui.Answers = {6}; // Yes -> the save dialog, which is cancelled
    frm.OpenFile(f);
    EXPECT_EQ(ui.Messages.last(), QStringLiteral("無題 への変更を保存しますか？"));
    EXPECT_EQ(ui.FileDialogs, 1);
    EXPECT_TRUE(ed.FileName().empty());
    EXPECT_EQ(ed.FileSize(), 1);

    ui.Answers = {7}; // No -> opened here
    frm.OpenFile(f);
    EXPECT_EQ(QString::fromStdString(ed.FileName()), f);
    EXPECT_EQ(ed.FileSize(), 2);
}

TEST_F(MainWindowTest, ReloadReadsTheFileAgainAndAsksOnlyWithChanges)
{
    const QString f = File(QStringLiteral("l.bin"), "abc");
    frm.OpenFile(f);
    WriteTestFile(f, "newer");
    Command(frm, "acReload")->trigger();
    EXPECT_TRUE(ui.Messages.isEmpty());
    EXPECT_EQ(EditorBytes(ed), QByteArray("newer"));
    EXPECT_EQ(frm.PanelText(2), QStringLiteral("ファイル 5 バイト"));
    EXPECT_TRUE(ed.ReadOnlyMode()); // the mode stays; the open rule is not applied again

    Command(frm, "acReadOnly")->trigger();
    ed.OverwriteByte(0, 'Q', true);
    WriteTestFile(f, "newest!");
    ui.Answers = {7};
    Command(frm, "acReload")->trigger();
    ASSERT_EQ(ui.Messages.size(), 1);
    EXPECT_EQ(ui.Messages[0], QStringLiteral("変更を破棄して読み直しますか？"));
    EXPECT_EQ(ui.Flags[0], 0x34u);
    EXPECT_EQ(EditorBytes(ed), QByteArray("Qewer"));
    EXPECT_TRUE(ed.Modified());

    ui.Answers = {6};
    Command(frm, "acReload")->trigger();
    EXPECT_EQ(EditorBytes(ed), QByteArray("newest!"));
    EXPECT_FALSE(ed.Modified());
    EXPECT_FALSE(ed.ReadOnlyMode());
    EXPECT_EQ(frm.windowTitle(), QStringLiteral("l.bin - へくすかばっと。"));
}

TEST_F(MainWindowTest, SaveOfUntitledAsksForANameAndFailuresAreReported)
{
    ed.InsertByte(0, 7, true);
    EXPECT_EQ(Command(frm, "acSave")->shortcut(), QKeySequence(QKeySequence::Save));
    Command(frm, "acSave")->trigger();
    EXPECT_EQ(ui.FileDialogs, 1);
    EXPECT_TRUE(ed.FileName().empty());

    const QString target = dir.filePath(QStringLiteral("s.bin"));
    ui.FileAnswers = {target};
    TFileFaults::FailNthWrite(1, ENOSPC);
    Command(frm, "acSaveAs")->trigger();
    TFileFaults::Reset();
    ASSERT_FALSE(ui.Messages.isEmpty());
    EXPECT_TRUE(ui.Messages.last().contains(target));
    EXPECT_TRUE(ui.Messages.last().contains(QStringLiteral("No space")));
    EXPECT_EQ(ui.Flags.last(), 0x10u);
    EXPECT_TRUE(ed.Modified());
    EXPECT_FALSE(Command(frm, "acReload")->isEnabled()); // saving an untitled document does not enable it
}

TEST_F(MainWindowTest, BackupQuestionComesThroughTheProgramsMessageBoxes)
{
    const QString f = File(QStringLiteral("b.bin"), "abc");
    OpenWritable(f);
    ed.SaveBackup = true;
    ed.SaveBackupCount = 1;
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("b.001.bin/in-the-way"))));
    ed.OverwriteByte(0, 'Z', true);
    ui.Answers = {7}; // No: do not save without a backup
    Command(frm, "acSave")->trigger();
    ASSERT_EQ(ui.Messages.size(), 1); // the question, and no failure report after it
    EXPECT_TRUE(ui.Messages[0].startsWith(QStringLiteral("バックアップファイルの作成に失敗しました。")));
    EXPECT_EQ(ui.Flags[0], 0x34u);
    EXPECT_EQ(ReadTestFile(f), QByteArray("abc"));
    EXPECT_TRUE(ed.Modified());
}

TEST_F(MainWindowTest, UnopenableFileIsReportedAndTheDocumentStays)
{
    ed.InsertByte(0, 9, true);
    ui.Answers = {7};
    frm.OpenFile(dir.path()); // a folder
    ASSERT_EQ(ui.Messages.size(), 2);
    EXPECT_TRUE(ui.Messages.last().contains(dir.path()));
    EXPECT_EQ(ed.FileSize(), 1);
    EXPECT_TRUE(ed.FileName().empty());
}

TEST_F(MainWindowTest, DroppedFilesOpenHereThenInNewInstances)
{
    QList<QUrl> urls;
    for (const char *n : {"d1.bin", "d2.bin", "d3.bin"})
        urls << QUrl::fromLocalFile(File(QString::fromLatin1(n), "x"));
    urls << QUrl::fromLocalFile(dir.filePath(QStringLiteral("gone.bin")));
    frm.DropFiles(urls);
    EXPECT_EQ(QString::fromStdString(ed.FileName()), urls[0].toLocalFile());
    ASSERT_EQ(ui.Started.size(), 2);
    EXPECT_EQ(ui.Started[0].last(), urls[1].toLocalFile());
    EXPECT_EQ(ui.Started[1].last(), urls[2].toLocalFile());
}

TEST_F(MainWindowTest, ViewCommandsReachTheEditor)
{
    Command(frm, "acViewAddressHeader")->trigger();
    EXPECT_TRUE(ed.HideOffsetHeader());
    Command(frm, "acViewByteView")->trigger();
    EXPECT_TRUE(ed.HideByteView());
    Command(frm, "acViewUnderLine")->trigger();
    EXPECT_TRUE(ed.ViewUnderLine());
    Command(frm, "accb4byte")->trigger();
    EXPECT_EQ(ed.ColumnBytes(), cb4byte);
    Command(frm, "acSjisByte")->trigger();
    EXPECT_EQ(ed.CharCode(), ccSJIS);
    EXPECT_EQ(frm.PanelText(3), QStringLiteral("SJIS"));
    Command(frm, "acUnicodeByte")->trigger(); // tag 2 is UNICODE, not the third code
    EXPECT_EQ(ed.CharCode(), ccUNICODE);
    EXPECT_EQ(frm.PanelText(3), QStringLiteral("UNICODE"));
    frm.show();
    Command(frm, "acViewStatusBar")->trigger();
    EXPECT_FALSE(frm.statusBar()->isVisible());
}

TEST_F(MainWindowTest, WideningWidensOnlyTheFirstPanel)
{
    frm.show();
    QCoreApplication::processEvents();
    // Wide enough for every panel at its width, whatever the system's font makes of the texts
    // (a narrower window squeezes the others, and widening gives their width back first),
    // asked once shown: the size grip, which the bar needs room for, shows only then.
    const int start = std::max(640, frm.statusBar()->sizeHint().width());
    frm.resize(start, 480);
    QCoreApplication::processEvents();
    auto panels = frm.statusBar()->findChildren<QLabel *>();
    ASSERT_GE(panels.size(), 5);
    QLabel *p0 = frm.statusBar()->findChild<QLabel *>(QStringLiteral("Panel0"));
    QLabel *p1 = frm.statusBar()->findChild<QLabel *>(QStringLiteral("Panel1"));
    const int w0 = p0->width(), w1 = p1->width();
    frm.resize(start + 260, 480);
    QCoreApplication::processEvents();
    EXPECT_GT(p0->width(), w0 + 200);
    EXPECT_EQ(p1->width(), w1);
    // Nor does a longer text widen panel 1: it is sized for its widest already.
    ed.InsertByte(0, 1, true);
    ed.SetSelection(0, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(frm.PanelText(1), QStringLiteral("選択 1 (0x01) バイト"));
    EXPECT_EQ(p1->width(), w1);
}
