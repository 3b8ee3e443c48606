// The character code as a user meets it: the commands of 表示 > 文字コード (JIS, a character
// table, guessing the code on open) and what follows the code: copy as text, string input,
// text paste, typing into the character column. Driven through the commands, without the
// main window.

#include "TEditCommands.h"
#include "TFeatureFixture.h"
#include "TViewCommands.h"
#include "TVxHexcavator.h"
#include "TVxTextCodec.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace {
QByteArray Bytes(TVxCharCode code, const char *utf8)
{
    return QByteArray::fromStdString(TVxTextCodec(code).EncodeOrThrow(TVxTextCodec::FromUtf8(utf8)));
}

struct CharCodeTest : TFeatureTest {
    TEditCommands edit{fx.Context()};
    TViewCommands view{fx.Context()};
    QString status;
    TVxListeners listen;

    CharCodeTest()
    {
        listen.Listen(view.OnChangeCharCode, [this](const QString &name) { status = name; });
    }
    QString Write(const char *name, const QByteArray &bytes)
    {
        const QString p = dir.filePath(QString::fromLatin1(name));
        WriteTestFile(p, bytes);
        return p;
    }
    void Open(const QByteArray &bytes) { ed.LoadFromFile(Write("doc.bin", bytes).toStdString()); }
    QByteArray Doc() { return EditorBytes(ed); }
    void Key(int key, const QString &text = QString())
    {
        QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(&ed, &e);
    }
};
} // namespace

TEST_F(CharCodeTest, JisIsAChoiceThatTheSettingsKeep)
{
    Open(Bytes(ccJIS, "日本"));
    ASSERT_TRUE(view.acJisByte->isVisible() && view.acJisByte->isEnabled());
    view.acJisByte->trigger();
    EXPECT_EQ(ed.CharCode(), ccJIS);
    EXPECT_EQ(status, QStringLiteral("JIS"));
    const TSettings s = fx.Settings.Collect();
    EXPECT_EQ(s.CharCodeName, "JIS");
    view.acAsciiByte->trigger();
    fx.Settings.Apply(s, true, "");
    EXPECT_EQ(ed.CharCode(), ccJIS);
}

TEST_F(CharCodeTest, ATableShowsTheColumnAndABadOneSaysWhereAndFallsBackToAscii)
{
    const QString good = Write("game.tbl", QByteArray("00=あ\n01=い\n0203=かな\n"));
    Open(QByteArray("\x00\x02\x03\x01", 4));
    ui.FileAnswers.push_back(good);
    view.acCharTable->trigger();
    EXPECT_EQ(ed.CharCode(), ccTable);
    EXPECT_TRUE(view.acCharTable->isChecked());
    ed.SetSelection(0, 3);
    edit.acCopyText->trigger();
    EXPECT_TRUE(QGuiApplication::clipboard()->text().endsWith(QStringLiteral(" あかない") + QString(12, QLatin1Char(' ')) +
                                                              QLatin1Char('\n')))
        << QGuiApplication::clipboard()->text().toStdString();
    const TSettings s = fx.Settings.Collect();
    EXPECT_EQ(s.CharCodeName, "TABLE");
    EXPECT_EQ(QString::fromStdString(s.CharTable), good);

    // The table's path is what the settings keep; the next start shows it again.
    view.acAsciiByte->trigger();
    fx.Settings.Apply(s, true, "");
    EXPECT_EQ(ed.CharCode(), ccTable);

    const QString bad = Write("bad.tbl", QByteArray("00=a\n# note\nzz=b\n"));
    ui.FileAnswers.push_back(bad);
    view.acCharTable->trigger();
    ASSERT_EQ(ui.Messages.size(), 1);
    EXPECT_TRUE(ui.Messages[0].contains(bad) && ui.Messages[0].contains(QStringLiteral("3 行目")))
        << ui.Messages[0].toStdString();
    EXPECT_EQ(ed.CharCode(), ccASCII);
    EXPECT_TRUE(view.acAsciiByte->isChecked());

    // A table that has gone since: a message at start, and ASCII.
    TSettings gone = s;
    gone.CharTable = dir.filePath(QStringLiteral("gone.tbl")).toStdString();
    fx.Settings.Apply(gone, true, "");
    EXPECT_EQ(ui.Messages.size(), 2);
    EXPECT_EQ(ed.CharCode(), ccASCII);
}

TEST_F(CharCodeTest, GuessingChoosesTheCodeForTheDocumentAndKeepsTheUsersChoice)
{
    view.acSjisByte->trigger();
    Open(Bytes(ccUTF8, "これは UTF-8 の文章です。"));
    EXPECT_EQ(ed.CharCode(), ccSJIS); // off unless chosen
    view.acAutoDetectCharCode->trigger();
    Open(Bytes(ccUTF8, "これは UTF-8 の文章です。"));
    EXPECT_EQ(ed.CharCode(), ccUTF8);
    EXPECT_EQ(status, QStringLiteral("UTF-8"));
    const TSettings s = fx.Settings.Collect();
    EXPECT_EQ(s.CharCode, 1);
    EXPECT_TRUE(s.AutoDetectCharCode);
    Open(QByteArray("plain ASCII text\n"));
    EXPECT_EQ(ed.CharCode(), ccSJIS);
}

TEST_F(CharCodeTest, TextsGoInAndOutInTheColumnsCode)
{
    Open(Bytes(ccUTF8, "abc 日本語 def"));
    view.acUtf8Byte->trigger();
    ed.SetSelection(0, 15);
    edit.acCopyText->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("0000000: 61 62 63 20 E6 97 A5 E6 9C AC E8 AA 9E 20 64 65 abc 日本語 de\n"));
    edit.acCopy->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("abc 日本語 de"));

    view.acEucByte->trigger();
    ed.SetSelection(0, -1);
    ed.GotoOffset(0);
    ed.SetInsertMode(true);
    ui.StringAnswers.push_back(QStringLiteral("漢字"));
    edit.acInputStr->trigger();
    EXPECT_TRUE(Doc().startsWith(Bytes(ccEUC, "漢字")));
    // A character EUC-JP lacks: a message naming it, nothing inserted.
    const QByteArray before = Doc();
    ui.StringAnswers.push_back(QStringLiteral("a€"));
    edit.acInputStr->trigger();
    EXPECT_EQ(Doc(), before);
    ASSERT_FALSE(ui.Messages.isEmpty());
    EXPECT_TRUE(ui.Messages.last().contains(QStringLiteral("€"))) << ui.Messages.last().toStdString();

    QGuiApplication::clipboard()->setText(QStringLiteral("表"));
    edit.acPaste->trigger();
    EXPECT_TRUE(Doc().startsWith(Bytes(ccEUC, "漢字表")));
}

TEST_F(CharCodeTest, TypingIntoTheCharacterColumnWritesCharactersOneUndoEach)
{
    Open(QByteArray("0123456789"));
    view.acUtf8Byte->trigger();
    ed.GotoOffset(2);
    Key(Qt::Key_F6);
    ASSERT_TRUE(ed.TextSide());
    Key(Qt::Key_A, QStringLiteral("A"));
    EXPECT_EQ(Doc(), QByteArray("01A3456789")); // overwrite, as the mode says
    Key(0, QStringLiteral("日"));
    EXPECT_EQ(Doc(), QByteArray("01A") + Bytes(ccUTF8, "日") + QByteArray("6789"));
    EXPECT_EQ(ed.GetCaretOffset(), 6);
    edit.acUndo->trigger();
    EXPECT_EQ(Doc(), QByteArray("01A3456789"));

    ed.SetInsertMode(true);
    ed.GotoOffset(3);
    Key(Qt::Key_B, QStringLiteral("b"));
    EXPECT_EQ(Doc(), QByteArray("01Ab3456789"));
    ed.SetReadOnlyMode(true);
    Key(Qt::Key_C, QStringLiteral("c"));
    EXPECT_EQ(Doc(), QByteArray("01Ab3456789"));
    ed.SetReadOnlyMode(false);

    // Back on the hexadecimal side, a digit is a digit again.
    Key(Qt::Key_F6);
    Key(Qt::Key_7, QStringLiteral("7"));
    EXPECT_EQ(Doc().mid(4, 2), QByteArray("\x07" "3", 2));
}

TEST_F(CharCodeTest, EveryCodeCopiesAndTakesTheSameText)
{
    struct Code {
        QAction *command;
        TVxCharCode code;
    } codes[] = {{view.acEucByte, ccEUC}, {view.acUnicodeByte, ccUNICODE}, {view.acJisByte, ccJIS},
                 {view.acUtf8Byte, ccUTF8}};
    for (const Code &c : codes) {
        const QByteArray text = Bytes(c.code, "日本語ab");
        Open(text);
        c.command->trigger();
        ed.SetSelection(0, int32_t(text.size()) - 1);
        edit.acCopyText->trigger();
        EXPECT_TRUE(QGuiApplication::clipboard()->text().contains(QStringLiteral(" 日本語ab")))
            << c.code << " " << QGuiApplication::clipboard()->text().toStdString();
        edit.acCopy->trigger();
        EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("日本語ab")) << c.code;
        // The same text typed in comes out as the same bytes.
        ed.SetSelection(0, -1);
        ed.GotoOffset(int32_t(text.size()));
        ui.StringAnswers.push_back(QStringLiteral("日本語ab"));
        edit.acInputStr->trigger();
        EXPECT_EQ(Doc(), text + text) << c.code;
    }
}
