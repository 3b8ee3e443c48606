// Clipboard, copy as text, inserting files and strings, through the edit commands (with the
// view commands that choose the character code and column groups), without the main window.

#include "FakeUi.h"
#include "TEditCommands.h"
#include "TFeatureFixture.h"
#include "TViewCommands.h"
#include "TVxHexcavator.h"
#include "TCodePage.h"
#include "TVxTransfer.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
struct TransferTest : TFeatureTest {
    TEditCommands edit{fx.Context()};
    TViewCommands view{fx.Context()};

    void Open(const QByteArray &bytes)
    {
        const QString p = dir.filePath(QStringLiteral("doc.bin"));
        WriteTestFile(p, bytes);
        ed.LoadFromFile(p.toStdString());
    }
    QByteArray Doc() { return EditorBytes(ed); }
    // A plain caret move with nothing selected, as a click would leave it.
    void Deselect() { ed.SetSelection(ed.SelAnchor(), -1); }
    static QByteArray Binary()
    {
        return QGuiApplication::clipboard()->mimeData()->data(QStringLiteral("CF_VXBINARY"));
    }
};
} // namespace

TEST_F(TransferTest, CopyKeepsZeroBytesAndPasteInsertsThemAll)
{
    Open(QByteArray("A\0\r\nB", 5) + QByteArray("tail"));
    ed.SetSelection(0, 4);
    edit.acCopy->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("A.\r\nB"));
    EXPECT_EQ(Binary(), QByteArray("A\0\r\nB", 5));
    EXPECT_TRUE(edit.acPaste->isEnabled());

    Deselect();
    ed.GotoOffset(7);
    edit.acPaste->trigger();
    EXPECT_EQ(Doc(), QByteArray("A\0\r\nBta", 7) + QByteArray("A\0\r\nB", 5) + QByteArray("il"));
    EXPECT_EQ(ed.GetCaretOffset(), 12);
    edit.acUndo->trigger();
    EXPECT_EQ(Doc(), QByteArray("A\0\r\nB", 5) + QByteArray("tail"));
}

TEST_F(TransferTest, PasteOnTheLastByteAppendsAndOverASelectionReplaces)
{
    Open("0123456789");
    ed.SetSelection(0, 4);
    edit.acCopy->trigger();
    Deselect();
    ed.GotoOffset(9);
    edit.acPaste->trigger();
    EXPECT_EQ(Doc(), QByteArray("012345678901234"));

    ed.SetSelection(2, 4);
    edit.acPaste->trigger();
    EXPECT_EQ(Doc(), QByteArray("0101234") + QByteArray("5678901234"));
    EXPECT_EQ(ed.UndoList().Newest().Kind, ukReplaceRange);
}

TEST_F(TransferTest, ShiftJisTextFollowsTheFilter)
{
    Open(QByteArray("\x82\xA0\x82\x20\x81", 5));
    view.acSjisByte->trigger();
    ed.SetSelection(0, 4);
    edit.acCopy->trigger();
    // A valid pair passes, a lead byte before a blank becomes the placeholder, a lone lead
    // byte at the end passes unchanged.
    EXPECT_EQ(TCodePage::ToCodePage(QGuiApplication::clipboard()->text()).left(4), QByteArray("\x82\xA0. ", 4));
    EXPECT_EQ(Binary().size(), 5);
}

TEST_F(TransferTest, CutRemovesAndReadOnlyRefuses)
{
    Open("abcdef");
    ed.SetSelection(1, 2);
    edit.acCut->trigger();
    EXPECT_EQ(Doc(), QByteArray("adef"));
    edit.acReadOnly->trigger();
    edit.Transfer().CutRange(0, 1);
    edit.Transfer().PasteAt(0);
    edit.Transfer().InsertText(QStringLiteral("zz"));
    EXPECT_EQ(Doc(), QByteArray("adef"));
}

TEST_F(TransferTest, CopyAsTextPerColumnWidthWithPartialLines)
{
    QByteArray bytes;
    for (int i = 0; i < 48; ++i)
        bytes += char(0xA0 + i % 16);
    Open(bytes);
    ed.SetSelection(18, 33);
    edit.acCopyText->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("0000010:       A2 A3 A4 A5 A6 A7 A8 A9 AA AB AC AD AE AF\n"
                             "0000020: A0 A1                                          \n"));
    const struct {
        QAction *action;
        const char *first;
    } widths[] = {{view.accb2byte, "0000010:      A2A3 A4A5"}, {view.accb4byte, "0000010:     A2A3 A4A5A6A7"},
                  {view.accb8byte, "0000010:     A2A3A4A5A6A7 A8"}, {view.accb16byte, "0000010:     A2A3A4A5"}};
    for (const auto &w : widths) {
        w.action->trigger();
        ed.SetSelection(18, 33);
        edit.acCopyText->trigger();
        EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith(QString::fromLatin1(w.first)))
            << QGuiApplication::clipboard()->text().toStdString();
    }
    view.acViewAddressHeader->trigger();
    view.accb1byte->trigger();
    ed.SetSelection(16, 17);
    edit.acCopyText->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral(" A0 A1") + QString(14 * 3, QLatin1Char(' ')) +
                                                        QStringLiteral("\n"));
}

TEST_F(TransferTest, InsertStringInBothModes)
{
    Open("0123456789");
    ed.GotoOffset(8);
    ui.StringAnswers = {QStringLiteral("abcde")};
    edit.acInputStr->trigger(); // overwrite mode: 2 bytes over, 3 appended
    EXPECT_EQ(Doc(), QByteArray("01234567abcde"));
    edit.acUndo->trigger();
    EXPECT_EQ(Doc(), QByteArray("0123456789"));

    ed.SetInsertMode(true);
    ed.GotoOffset(2);
    ui.StringAnswers = {QStringLiteral("あ")};
    edit.acInputStr->trigger();
    EXPECT_EQ(Doc(), QByteArray("01\x82\xA0" "23456789"));
    EXPECT_EQ(ed.GetCaretOffset(), 4);

    ui.StringAnswers = {QString()};
    edit.acInputStr->trigger(); // empty: nothing recorded
    EXPECT_EQ(ed.UndoCount(), 1);
}

TEST_F(TransferTest, PastingPlainTextInsertsItsCodePageBytes)
{
    Open("xy");
    QGuiApplication::clipboard()->setText(QStringLiteral("AB"));
    ed.SetInsertMode(true);
    ed.GotoOffset(1);
    edit.acPaste->trigger();
    EXPECT_EQ(Doc(), QByteArray("xABy"));
}

TEST_F(TransferTest, InsertFileReplacesASelectionAndKeepsTheCaret)
{
    Open("0123456789");
    const QString add = dir.filePath(QStringLiteral("add.bin"));
    WriteTestFile(add, "ABC");
    ed.SetSelection(3, 5);
    ui.FileAnswers = {add};
    edit.acInsertFile->trigger();
    EXPECT_EQ(Doc(), QByteArray("012ABC6789"));
    EXPECT_EQ(ed.GetCaretOffset(), 3);
    edit.acUndo->trigger();
    edit.acUndo->trigger();
    EXPECT_EQ(Doc(), QByteArray("0123456789"));
}
