// The progress window of long work, inside a real main window: it appears with the
// operation's caption and a percentage, a cancel through it stops an open and leaves the
// previous document exactly as it was, and work that cannot stop offers no cancel.
// The window's clock is the test's (TBusyProgress::SetClock): 100 ms pass at every report.

#include "FakeUi.h"
#include "TAppUtils.h"
#include "TBusyProgress.h"
#include "TBusyState.h"
#include "TVxHexcavator.h"
#include "TfrmMain.h"

#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
struct BusyProgressTest : TWindowTest {
    qint64 clock = 0;
    // What the progress window showed the first time the test saw it.
    QString caption, percent;
    bool sawCancel = false;
    // Every caption the window showed, in order.
    QStringList captions;
    // Runs once the window is visible, from inside the work's event processing.
    std::function<void(QProgressDialog &)> onWindow;
    QTimer poll;

    void SetUp() override
    {
        frm.Busy().Progress().SetClock([this] { return clock += 100; });
        poll.setInterval(0);
        QObject::connect(&poll, &QTimer::timeout, [this] {
            QProgressDialog *w = frm.Busy().Progress().Window();
            if (w && w->isVisible() && (captions.isEmpty() || captions.last() != w->labelText()))
                captions << w->labelText();
            if (!w || !w->isVisible() || !caption.isNull())
                return;
            caption = w->labelText();
            if (auto *bar = w->findChild<QProgressBar *>())
                percent = bar->text();
            for (QPushButton *b : w->findChildren<QPushButton *>())
                sawCancel = sawCancel || (b->isVisible() && b->text() == QStringLiteral("キャンセル"));
            if (onWindow)
                onWindow(*w);
        });
        poll.start();
    }
    void Reset()
    {
        caption = QString();
        percent = QString();
        sawCancel = false;
    }
    QString BigFile(const QString &name, int size)
    {
        const QString p = dir.filePath(name);
        QByteArray bytes(size, '\0');
        for (int i = 0; i < size; ++i)
            bytes[i] = char(i * 7 + i / 4096);
        WriteTestFile(p, bytes);
        return p;
    }
    void ExpectIdle()
    {
        EXPECT_EQ(frm.Busy().Depth(), 0);
        EXPECT_TRUE(frm.isEnabled());
        EXPECT_EQ(frm.Busy().Progress().Window(), nullptr) << "the window goes with the busy state";
    }
};
} // namespace

TEST_F(BusyProgressTest, CancelledOpenKeepsThePreviousDocument)
{
    OpenWritable(frm, BigFile(QStringLiteral("small.bin"), 100000));
    ed.OverwriteByte(10, 0xAA, true);
    ed.InsertByte(20, 0xBB, true); // a resized window that was never flushed
    const QByteArray before = EditorBytes(ed);
    const std::string name = ed.FileName();
    const QString title = frm.windowTitle();
    const QString big = BigFile(QStringLiteral("big.bin"), 40 << 20);

    // Once by the cancel button, once by Esc in the window.
    for (bool byButton : {true, false}) {
        SCOPED_TRACE(byButton ? "button" : "Esc");
        Reset();
        onWindow = [byButton](QProgressDialog &w) {
            if (byButton) {
                for (QPushButton *b : w.findChildren<QPushButton *>())
                    if (b->isVisible())
                        b->click();
            } else {
                QTest::keyClick(&w, Qt::Key_Escape);
            }
        };
        ui.Shift = true;         // open here, not in a new instance
        ui.Answers = {7};        // do not save the changes
        EXPECT_FALSE(frm.OpenFile(big));
        EXPECT_EQ(caption, QStringLiteral("ファイルを開いています"));
        EXPECT_TRUE(percent.endsWith(QLatin1Char('%')) && percent != QStringLiteral("0%")) << percent.toStdString();
        EXPECT_TRUE(sawCancel);
        EXPECT_EQ(EditorBytes(ed), before);
        EXPECT_EQ(ed.FileName(), name);
        EXPECT_EQ(ed.UndoCount(), 2);
        EXPECT_TRUE(ed.Modified());
        EXPECT_EQ(frm.windowTitle(), title);
        ExpectIdle();
    }
    ed.Undo();
    ed.Undo();
    EXPECT_EQ(EditorBytes(ed), ReadTestFile(QString::fromStdString(name)));
}

TEST_F(BusyProgressTest, BlockDeleteShowsItsCaptionAndCannotBeStopped)
{
    const QString path = BigFile(QStringLiteral("big.bin"), 40 << 20);
    OpenWritable(frm, path);
    const QByteArray file = ReadTestFile(path);
    Reset(); // the open showed its window too
    // A request to stop is not heard: the tail is moving in place.
    onWindow = [](QProgressDialog &w) { QTest::keyClick(&w, Qt::Key_Escape); };
    ed.SetSelection(5, ed.FileSize() - 2);
    Command(frm, "acDelete")->trigger();
    EXPECT_EQ(caption, QStringLiteral("削除しています"));
    EXPECT_FALSE(percent.isEmpty());
    EXPECT_FALSE(sawCancel);
    EXPECT_EQ(EditorBytes(ed), file.left(5) + file.right(1));
    ExpectIdle();

    // Its undo is as long: shown under its own name, and the document is whole again.
    Reset();
    Command(frm, "acUndo")->trigger();
    EXPECT_EQ(caption, QStringLiteral("元に戻しています"));
    EXPECT_EQ(EditorBytes(ed), file);
    ExpectIdle();
}

TEST_F(BusyProgressTest, AFarCaretMoveAfterTypedInsertsShowsTheMoveOfTheRest)
{
    const QString path = BigFile(QStringLiteral("big.bin"), 40 << 20);
    OpenWritable(frm, path);
    QByteArray file = ReadTestFile(path);
    ed.setFocus();
    QTest::keyClick(&ed, Qt::Key_Insert);
    QTest::keyClicks(&ed, QStringLiteral("a5"));
    file.insert(0, char(0xA5));
    Reset();
    // Ctrl+End leaves the window that grew: the rest of the 40 MiB moves by one byte.
    QTest::keyClick(&ed, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(caption, QStringLiteral("編集しています"));
    EXPECT_FALSE(sawCancel);
    EXPECT_EQ(ed.GetCaretOffset(), ed.FileSize());
    EXPECT_EQ(EditorBytes(ed), file);
    ExpectIdle();
}

TEST_F(BusyProgressTest, EscDuringTheSaveBeforeAnOpenDoesNotCancelTheOpen)
{
    const QString first = BigFile(QStringLiteral("first.bin"), 40 << 20);
    const QString second = BigFile(QStringLiteral("second.bin"), 24 << 20);
    OpenWritable(frm, first);
    ed.InsertByte(0, 0x11, true); // a size change: the save writes the whole file
    const QByteArray edited = EditorBytes(ed);
    Reset();
    captions.clear();
    // Esc while the save runs, which cannot stop: the open that follows must not take it.
    onWindow = [](QProgressDialog &w) { QTest::keyClick(&w, Qt::Key_Escape); };
    // The open command: one busy state around the save and the load.
    ui.Shift = true;
    ui.Answers = {6}; // save the changes first
    ui.FileAnswers = {second};
    Command(frm, "acOpen")->trigger();
    EXPECT_EQ(ed.FileName(), second.toStdString());
    EXPECT_EQ(caption, QStringLiteral("保存しています"));
    EXPECT_EQ(captions, (QStringList{QStringLiteral("保存しています"), QStringLiteral("ファイルを開いています")}));
    EXPECT_EQ(ReadTestFile(first), edited);
    EXPECT_EQ(EditorBytes(ed), ReadTestFile(second));
    ExpectIdle();
}

TEST_F(BusyProgressTest, BlockEditsOfTheEditorsOwnKeysRunInTheBusyState)
{
    const QString path = BigFile(QStringLiteral("big.bin"), 40 << 20);
    OpenWritable(frm, path);
    QByteArray model = ReadTestFile(path);

    // Ctrl+Delete of a selection.
    Reset();
    ed.SetSelection(3, ed.FileSize() - 4);
    QTest::keyClick(&ed, Qt::Key_Delete, Qt::ControlModifier);
    model = model.left(3) + model.right(3);
    EXPECT_EQ(caption, QStringLiteral("編集しています"));
    EXPECT_EQ(EditorBytes(ed), model);
    ExpectIdle();

    // A digit typed over a selection replaces it.
    ed.Undo();
    model = ReadTestFile(path);
    Reset();
    ed.SetSelection(1, ed.FileSize() - 2);
    QTest::keyClicks(&ed, QStringLiteral("7"));
    EXPECT_EQ(caption, QStringLiteral("編集しています"));
    EXPECT_EQ(EditorBytes(ed), model.left(1) + QByteArray(1, '\x07') + model.right(1));
    ExpectIdle();
    // The busy state in between does not break the typed pair.
    QTest::keyClicks(&ed, QStringLiteral("5"));
    EXPECT_EQ(EditorBytes(ed), model.left(1) + QByteArray(1, '\x75') + model.right(1));
}

// The window measured in every caption the program's busy work shows, with and without its
// cancel button: the caption and the button lie inside it. A result message comes after
// the window has gone.
TEST(BusyProgressWindow, FitsEveryCaptionWithItsButtonAndGoesBeforeAMessage)
{
    TFakeUi ui;
    const char *captions[] = {"ファイルを開いています", "保存しています",   "読み直しています", "すべて置換しています",
                              "ファイルから挿入しています", "元に戻しています", "やり直しています", "検索しています",
                              "置換しています",         "削除しています",   "挿入しています",   "編集しています"};
    for (const char *caption : captions) {
        for (bool cancellable : {false, true}) {
            TBusyProgress progress;
            qint64 clock = 0;
            progress.SetClock([&clock] { return clock += 100; });
            progress.Start(nullptr);
            progress.SetCaption(QStringLiteral("x")); // made for a short caption, then named
            for (int i = 0; i < 5; ++i)
                progress.Report(i, 10, false);
            progress.SetCaption(QString::fromUtf8(caption));
            for (int i = 5; i < 8; ++i)
                progress.Report(i, 10, cancellable);
            QProgressDialog *w = progress.Window();
            ASSERT_TRUE(w && w->isVisible()) << caption;
            const QRect inside(QPoint(0, 0), w->size());
            for (QLabel *l : w->findChildren<QLabel *>())
                if (l->isVisible()) {
                    EXPECT_TRUE(inside.contains(l->geometry())) << caption;
                    EXPECT_GE(l->width(), l->fontMetrics().horizontalAdvance(l->text())) << caption;
                }
            bool button = false;
            for (QPushButton *b : w->findChildren<QPushButton *>())
                if (b->isVisible()) {
                    button = true;
                    EXPECT_TRUE(inside.contains(b->geometry())) << caption << " " << w->width() << "x" << w->height();
                }
            EXPECT_EQ(button, cancellable) << caption;
            progress.Finish();
        }
    }

    QMainWindow window;
    TBusyState busy(&window);
    qint64 clock = 0;
    busy.Progress().SetClock([&clock] { return clock += 100; });
    bool windowDuringMessage = true;
    ui.WhileShowing = [&] { windowDuringMessage = busy.Progress().Window() != nullptr; };
    {
        TBusy inBusy(busy, QStringLiteral("すべて置換しています"));
        for (int i = 0; i < 8; ++i)
            busy.Progress().Report(i, 100, true);
        ASSERT_NE(busy.Progress().Window(), nullptr);
        busy.Message(QStringLiteral("3 個の文字列を変換しました。"), 0x40);
    }
    EXPECT_FALSE(windowDuringMessage);
}
