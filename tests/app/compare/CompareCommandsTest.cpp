// The compare feature on real files: the dialog, the aligned and the byte-by-byte compare
// shown in two panes that scroll in step, F7 / Shift+F7 over every difference and past the
// last, an edit making the result stale until F7 compares again, the end of a compare; the
// other file is never written.

#include "TCompareCommands.h"
#include "TComparePane.h"
#include "TFeatureFixture.h"
#include "TSettingsFile.h"
#include "TfrmCompare.h"
#include "TfrmMain.h"

#include <QApplication>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QFileInfo>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include <random>

namespace {
struct CompareCommandsTest : TFeatureTest {
    TCompareCommands compare{fx.Context()};
    QString pathA = dir.filePath(QStringLiteral("a.bin")), pathB = dir.filePath(QStringLiteral("b.bin"));
    QByteArray a = RandomTestBytes(4000, 7), b;

    void SetUp() override
    {
        // B: three bytes inserted at 1000, one changed at 3000 (2,997 + 3 in B).
        b = a;
        b.insert(1000, "\x01\x02\x03", 3);
        b[3003] = char(~b[3003]);
        WriteTestFile(pathA, a);
        WriteTestFile(pathB, b);
        ed.LoadFromFile(pathA.toStdString());
        fx.Window.resize(1400, 600);
        fx.Window.show();
    }
    void Key(int key, Qt::KeyboardModifiers mods = {}) { QTest::keyClick(&ed, Qt::Key(key), mods); }
    TVxHexcavator &Other() { return compare.Pane().Editor(); }
};
} // namespace

TEST_F(CompareCommandsTest, AlignedCompareStepsThroughEveryDifferenceInBothPanes)
{
    EXPECT_FALSE(compare.acNextDiff->isEnabled());
    ASSERT_TRUE(compare.Compare(pathB, true));
    ASSERT_TRUE(compare.Result());
    ASSERT_EQ(compare.Result()->Count(), 2u);
    EXPECT_TRUE(compare.Pane().Dock()->isVisible());
    EXPECT_EQ(compare.Pane().Dock()->windowTitle(), QStringLiteral("b.bin"));
    EXPECT_EQ(compare.StatusText(), QStringLiteral("相違点 2 個"));
    EXPECT_TRUE(Other().ReadOnlyMode());
    EXPECT_TRUE(compare.acNextDiff->isEnabled());

    // F7 from the start: the insertion, then the changed byte, then nothing more.
    compare.acNextDiff->trigger();
    EXPECT_EQ(ed.GetCaretOffset(), 1000);
    EXPECT_EQ(Other().GetCaretOffset(), 1000);
    compare.acNextDiff->trigger();
    EXPECT_EQ(ed.GetCaretOffset(), 3000);
    EXPECT_EQ(Other().GetCaretOffset(), 3003);
    compare.acNextDiff->trigger();
    EXPECT_EQ(ui.Messages, QStringList{QStringLiteral("これ以上相違点はありません。")});
    EXPECT_EQ(ed.GetCaretOffset(), 3000);
    compare.acPrevDiff->trigger();
    EXPECT_EQ(ed.GetCaretOffset(), 1000);
    compare.acPrevDiff->trigger();
    EXPECT_EQ(ui.Messages.size(), 2);

    // In step: past the insertion, the other pane's top row is three bytes further on.
    ed.SetTopRow(int32_t(2000 / 16) + 1);
    QApplication::processEvents();
    EXPECT_EQ(Other().TopRow(), int32_t(2003 / 16) + 1);

    // An edit makes the result stale; F7 compares again first.
    ed.SetReadOnlyMode(false);
    ed.OverwriteByte(10, uint8_t(~uint8_t(a[10])), true);
    EXPECT_EQ(compare.Result(), nullptr);
    EXPECT_EQ(compare.StatusText(), QStringLiteral("相違点 ? 個（F7 で再比較）"));
    ed.GotoOffset(0);
    compare.acNextDiff->trigger();
    ASSERT_TRUE(compare.Result());
    EXPECT_EQ(compare.Result()->Count(), 3u);
    EXPECT_EQ(compare.StatusText(), QStringLiteral("相違点 3 個"));
    EXPECT_EQ(ed.GetCaretOffset(), 10);

    compare.acEndCompare->trigger();
    EXPECT_FALSE(compare.Pane().Dock()->isVisible());
    EXPECT_EQ(compare.Result(), nullptr);
    EXPECT_FALSE(compare.acNextDiff->isEnabled());
    EXPECT_TRUE(compare.StatusText().isEmpty());
    EXPECT_EQ(ReadTestFile(pathB), b) << "the other file is never written";
}

TEST_F(CompareCommandsTest, ByteByByteComparesOffsetWithOffsetAndCountsTheTail)
{
    // Same length, two changed runs; then B longer by a tail.
    b = a;
    b[5] = char(~b[5]);
    b[6] = char(~b[6]);
    b[2500] = char(~b[2500]);
    b.append("tail");
    WriteTestFile(pathB, b);
    ASSERT_TRUE(compare.Compare(pathB, false));
    ASSERT_EQ(compare.Result()->Count(), 3u);
    const TVxDiffHunk &tail = (*compare.Result())[2];
    EXPECT_EQ(tail.AStart, 4000);
    EXPECT_EQ(tail.ALength, 0);
    EXPECT_EQ(tail.BLength, 4);
    // A missing file is a message, and the compare shown stays.
    EXPECT_FALSE(compare.Compare(dir.filePath(QStringLiteral("none.bin")), false));
    EXPECT_EQ(ui.Messages.size(), 1);
    ASSERT_TRUE(compare.Result());
    EXPECT_EQ(compare.Result()->Count(), 3u);
}

TEST_F(CompareCommandsTest, TheDialogOffersRecentFilesAndRemembersTheMode)
{
    TSettingsFile().AddRecentFile(pathA.toStdString(), 10);
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto *d = qobject_cast<TfrmCompare *>(QApplication::activeModalWidget());
        if (!(seen = d != nullptr))
            return;
        EXPECT_EQ(d->windowTitle(), QStringLiteral("ファイルの比較"));
        EXPECT_TRUE(d->focusWidget() == d->cmbFileName || d->focusWidget() == d->cmbFileName->lineEdit());
        EXPECT_TRUE(d->chkAligned->isChecked());
        EXPECT_FALSE(d->btnOk->isEnabled());
        ASSERT_EQ(d->cmbFileName->count(), 1);
        EXPECT_EQ(d->cmbFileName->itemText(0), pathA);
        EXPECT_TRUE(d->cmbFileName->currentText().isEmpty());
        QTest::mouseClick(d->chkAligned, Qt::LeftButton, {}, QPoint(6, d->chkAligned->height() / 2));
        QTest::keyClicks(d->cmbFileName->lineEdit(), pathB);
        QTest::keyClick(d->cmbFileName->lineEdit(), Qt::Key_Return);
    });
    compare.acCompare->trigger();
    ASSERT_TRUE(seen);
    ASSERT_TRUE(compare.Result());
    EXPECT_GT(compare.Result()->Count(), 2u) << "byte by byte: the insertion shifts what follows";
    // The next time the box is as the user left it.
    seen = false;
    QTimer::singleShot(0, [&] {
        auto *d = qobject_cast<TfrmCompare *>(QApplication::activeModalWidget());
        if ((seen = d != nullptr)) {
            EXPECT_FALSE(d->chkAligned->isChecked());
            d->reject();
        }
    });
    compare.acCompare->trigger();
    EXPECT_TRUE(seen);
}

TEST(CompareMenu, ToolsFollowsSearchWithTheCompareCommandsThenTheChecksum)
{
    TFakeUi ui;
    TSettingsInTempDir settings;
    TfrmMain frm;
    const QList<QAction *> menus = frm.menuBar()->actions();
    ASSERT_GE(menus.size(), 5);
    EXPECT_EQ(menus[3]->text(), QStringLiteral("検索(&S)"));
    EXPECT_EQ(menus[4]->text(), QStringLiteral("ツール(&T)"));
    QStringList captions;
    for (QAction *a : menus[4]->menu()->actions())
        captions << a->text() + QStringLiteral("|") + a->shortcut().toString();
    EXPECT_EQ(captions, (QStringList{QStringLiteral("ファイルの比較(&C)...|"), QStringLiteral("次の相違点(&N)|F7"),
                                     QStringLiteral("前の相違点(&P)|Shift+F7"), QStringLiteral("比較の終了(&E)|"),
                                     QStringLiteral("|"), QStringLiteral("チェックサム(&S)...|"),
                                     QStringLiteral("|"), QStringLiteral("選択範囲を埋める(&F)...|"),
                                     QStringLiteral("ビット演算(&B)...|")}));
}

// Esc in the progress window stops a compare of large files, at either step (comparing, then
// loading the other file): the compare shown before stays, pane and count included.
TEST_F(CompareCommandsTest, ACancelledCompareLeavesTheWindowAsItWas)
{
    const QString bigA = dir.filePath(QStringLiteral("bigA.bin")), bigB = dir.filePath(QStringLiteral("bigB.bin")),
                  bigC = dir.filePath(QStringLiteral("bigC.bin"));
    QByteArray big = RandomTestBytes(40 << 20, 3);
    WriteTestFile(bigA, big);
    big[1000] = char(~big[1000]);
    WriteTestFile(bigB, big);
    big[2000] = char(~big[2000]);
    WriteTestFile(bigC, big);
    ed.LoadFromFile(bigA.toStdString());
    ASSERT_TRUE(compare.Compare(bigB, false));
    ASSERT_EQ(compare.Result()->Count(), 1u);

    qint64 clock = 0;
    fx.Busy.Progress().SetClock([&] { return clock += 100; });
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QProgressDialog *w = fx.Busy.Progress().Window();
        if (w && w->isVisible())
            QTest::keyClick(w, Qt::Key_Escape);
    });
    poll.start();
    EXPECT_FALSE(compare.Compare(bigC, false));
    poll.stop();
    fx.Busy.Progress().SetClock({});
    ASSERT_TRUE(compare.Result());
    EXPECT_EQ(compare.Result()->Count(), 1u);
    EXPECT_EQ(compare.Pane().Editor().FileName(), bigB.toStdString());
    EXPECT_EQ(compare.StatusText(), QStringLiteral("相違点 1 個"));
    EXPECT_EQ(fx.Busy.Depth(), 0);
    EXPECT_TRUE(ui.Messages.isEmpty()) << "a cancel is no failure to report";
}
