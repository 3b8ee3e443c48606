// Find, find next/previous, replace and jump through the search commands in a bare window
// (with the edit commands, whose shortcuts the replace dialog takes over), the dialogs filled
// in and clicked as a user would, and their histories in the settings file.

#include "FakeUi.h"
#include "TEditCommands.h"
#include "TFeatureFixture.h"
#include "TSearchCommands.h"
#include "TVxHexcavator.h"
#include "TfrmFind.h"
#include "TfrmReplace.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {
// One window's search: its settings read at the start and written at the exit, as the main
// window does with all of them.
struct TSearchWindow {
    TFeatureFixture fx;
    TEditCommands edit{fx.Context()};
    TSearchCommands search{fx.Context()};
    QMainWindow &Window = fx.Window;

    TSearchWindow()
    {
        Window.addActions(fx.Places.All());
        fx.Settings.Load(true);
    }
    ~TSearchWindow() { fx.Settings.Save(); }
};

struct SearchCommandsTest : ::testing::Test {
    TFakeUi ui;
    TSettingsInTempDir settings;
    QTemporaryDir dir;
    std::unique_ptr<TSearchWindow> frm = std::make_unique<TSearchWindow>();
    TVxHexcavator *ed = frm->fx.Editor;

    void Open(const QByteArray &bytes)
    {
        const QString p = dir.filePath(QStringLiteral("s.bin"));
        WriteTestFile(p, bytes);
        ed->LoadFromFile(p.toStdString());
    }
    QByteArray Doc() { return EditorBytes(*ed); }
    // The window's replace dialog while it is open (a closed one is gone once deleted).
    TfrmReplace *ReplaceDialog()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return frm->Window.findChild<TfrmReplace *>();
    }
    // The search state as the window would write it now.
    TSettings Saved() { return frm->fx.Settings.Collect(); }
    // Runs `action`; the find dialog it opens is handed to `fill` once it is up.
    void WithFindDialog(QAction *action, const std::function<void(TfrmFind &)> &fill)
    {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto *dlg = qobject_cast<TfrmFind *>(QApplication::activeModalWidget());
            seen = dlg != nullptr;
            if (dlg)
                fill(*dlg);
        });
        action->trigger();
        ASSERT_TRUE(seen) << "no find dialog came up";
    }
    void Find(const QString &text, bool ignoreCase = false, bool backward = false, bool fromTop = false)
    {
        WithFindDialog(Command(frm->Window, "acFind"), [&](TfrmFind &d) {
            d.cmbFindText->setEditText(text);
            d.chkIgnoreCase->setChecked(ignoreCase);
            d.chkFromTop->setChecked(fromTop);
            (backward ? d.Button3 : d.Button1)->click();
        });
    }
    QString Ini(const QString &section, const QString &key)
    {
        QSettings ini(settings.Ini(), QSettings::IniFormat);
        return ini.value(section + QLatin1Char('/') + key).toString();
    }
};
} // namespace

TEST_F(SearchCommandsTest, FindSelectsTheMatchAndFindNextRepeatsIt)
{
    Open("xabababy");
    Find(QStringLiteral("ABA"), true);
    EXPECT_EQ(ed->SelAnchor(), 1);
    EXPECT_EQ(ed->SelExtent(), 3);
    EXPECT_EQ(ed->GetCaretOffset(), 1);
    EXPECT_TRUE(ui.Messages.isEmpty());
    Command(frm->Window, "acFindNext")->trigger();
    EXPECT_EQ(ed->SelAnchor(), 3);
    EXPECT_EQ(ed->SelExtent(), 5);
    Command(frm->Window, "acFindNext")->trigger();
    EXPECT_EQ(ui.Messages.last(), QStringLiteral("現在位置より後に ABA は見つかりませんでした。"));
    EXPECT_EQ(ui.Flags.last(), 0x40u);
    Command(frm->Window, "acFindPrev")->trigger();
    EXPECT_EQ(ed->SelAnchor(), 1);
}

TEST_F(SearchCommandsTest, NotFoundStillBecomesTheSearchText)
{
    Open("abc");
    Find(QStringLiteral("zz"));
    EXPECT_EQ(ui.Messages.last(), QStringLiteral("zz は見つかりませんでした。"));
    Command(frm->Window, "acFindNext")->trigger();
    EXPECT_EQ(ui.Messages.last(), QStringLiteral("現在位置より後に zz は見つかりませんでした。"));
    EXPECT_EQ(Saved().SearchText, "zz");
}

TEST_F(SearchCommandsTest, FindNextWithoutTextOpensTheDialogAndEmptyTextKeepsItOpen)
{
    Open("abc");
    bool stillOpen = false;
    WithFindDialog(Command(frm->Window, "acFindNext"), [&](TfrmFind &d) {
        d.cmbFindText->setEditText(QString());
        d.Button1->click();
        stillOpen = d.isVisible();
        d.reject();
    });
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(ui.Messages.isEmpty());
}

TEST_F(SearchCommandsTest, BackwardFromTheTopFindsTheLastOccurrence)
{
    Open("ab..ab..ab..");
    Find(QStringLiteral("ab"), false, true, true);
    EXPECT_EQ(ed->SelAnchor(), 8);
    EXPECT_EQ(Ini(QStringLiteral("Find"), QStringLiteral("FromTop")), QStringLiteral("1"));
}

TEST_F(SearchCommandsTest, HistoryKeepsSixteenNewestFirstAcrossRestarts)
{
    Open("abc");
    for (int i = 0; i < 17; ++i)
        Find(QStringLiteral("t%1").arg(i));
    Find(QStringLiteral("t5"));              // already there: moves to the top
    Find(QStringLiteral("  lead"));          // blanks survive the file
    Find(QStringLiteral("T5"));              // case makes another entry
    frm.reset();
    frm = std::make_unique<TSearchWindow>();
    QStringList items;
    WithFindDialog(Command(frm->Window, "acFind"), [&](TfrmFind &d) {
        for (int i = 0; i < d.cmbFindText->count(); ++i)
            items << d.cmbFindText->itemText(i);
        d.reject();
    });
    ASSERT_EQ(items.size(), 16);
    EXPECT_EQ(items[0], QStringLiteral("T5"));
    EXPECT_EQ(items[1], QStringLiteral("  lead"));
    EXPECT_EQ(items[2], QStringLiteral("t5"));
    EXPECT_EQ(items[3], QStringLiteral("t16"));
    EXPECT_EQ(items.count(QStringLiteral("t5")), 1);
    EXPECT_EQ(items.last(), QStringLiteral("t3"));
    EXPECT_FALSE(items.contains(QStringLiteral("t2"))); // the oldest ones fell off
    EXPECT_FALSE(Ini(QStringLiteral("FindStrings"), QStringLiteral("F")).isEmpty());
}

TEST_F(SearchCommandsTest, ReplaceAllReportsAndOneUndoTakesItBack)
{
    Open("aaa");
    Command(frm->Window, "acReplace")->trigger();
    TfrmReplace *dlg = ReplaceDialog();
    ASSERT_NE(dlg, nullptr);
    dlg->cmbFindText->setEditText(QStringLiteral("a"));
    dlg->cmbReplaceText->setEditText(QStringLiteral("aa"));
    dlg->btnReplaceAll->click();
    EXPECT_EQ(Doc(), QByteArray("aaaaaa"));
    EXPECT_EQ(ui.Messages.last(), QStringLiteral("3 個の文字列を変換しました。"));
    EXPECT_FALSE(dlg->isVisible()); // hidden, not gone
    Command(frm->Window, "acReplace")->trigger();
    EXPECT_EQ(ReplaceDialog(), dlg);
    Command(frm->Window, "acUndo")->trigger();
    EXPECT_EQ(Doc(), QByteArray("aaa"));
    dlg->btnCancel->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(ReplaceDialog(), nullptr);

    // Both histories come back in the next dialog, also after a restart.
    frm.reset();
    frm = std::make_unique<TSearchWindow>();
    Command(frm->Window, "acReplace")->trigger();
    dlg = ReplaceDialog();
    EXPECT_EQ(dlg->cmbFindText->currentText(), QStringLiteral("a"));
    EXPECT_EQ(dlg->cmbReplaceText->currentText(), QStringLiteral("aa"));
}

TEST_F(SearchCommandsTest, ReplaceAllByNothingEmptiesTheDocumentAndBringsTheCaretBack)
{
    Open("abab");
    ed->GotoOffset(4);
    Command(frm->Window, "acReplace")->trigger();
    TfrmReplace *dlg = ReplaceDialog();
    dlg->cmbFindText->setEditText(QStringLiteral("ab"));
    dlg->cmbReplaceText->setEditText(QString());
    dlg->btnReplaceAll->click();
    EXPECT_EQ(ed->FileSize(), 0);
    EXPECT_EQ(ui.Messages.last(), QStringLiteral("2 個の文字列を変換しました。"));
    EXPECT_EQ(ed->GetCaretOffset(), 0);
    EXPECT_TRUE(ed->IsEndCell(ed->Col(), ed->Row()));
    Command(frm->Window, "acUndo")->trigger();
    EXPECT_EQ(Doc(), QByteArray("abab"));
}

TEST_F(SearchCommandsTest, SingleReplaceSelectsAndMovesOn)
{
    Open("abca");
    Command(frm->Window, "acReplace")->trigger();
    TfrmReplace *dlg = ReplaceDialog();
    dlg->cmbFindText->setEditText(QStringLiteral("a"));
    dlg->cmbReplaceText->setEditText(QStringLiteral("xyz"));
    dlg->btnReplace->click();
    EXPECT_EQ(Doc(), QByteArray("xyzbca"));
    EXPECT_EQ(ed->SelAnchor(), 0);
    EXPECT_EQ(ed->SelExtent(), 2);
    EXPECT_EQ(ed->GetCaretOffset(), 2);
    dlg->btnReplace->click();
    EXPECT_EQ(Doc(), QByteArray("xyzbcxyz"));

    dlg->cmbFindText->setEditText(QStringLiteral("b"));
    dlg->cmbReplaceText->setEditText(QString());
    ed->GotoOffset(0);
    ed->SetSelection(0, -1);
    ed->GotoOffset(0);
    dlg->btnReplace->click(); // by nothing: no selection, caret on the byte that followed
    EXPECT_EQ(Doc(), QByteArray("xyzcxyz"));
    EXPECT_EQ(ed->SelExtent(), -1);
    EXPECT_EQ(ed->GetCaretOffset(), 3);

    dlg->cmbFindText->setEditText(QStringLiteral("nothing"));
    const int undo = ed->UndoCount();
    dlg->btnReplace->click();
    EXPECT_EQ(ui.Messages.last(), QStringLiteral("nothing は見つかりませんでした。"));
    EXPECT_EQ(ed->UndoCount(), undo);
    // The dialog stays on top of the main window: the message must be the dialog's own, or
    // it opens underneath, out of reach.
    EXPECT_EQ(ui.Owners.last(), dlg);
    dlg->btnReplaceAll->click();
    EXPECT_EQ(ui.Owners.last(), dlg);
}

TEST_F(SearchCommandsTest, OpenReplaceDialogRefusesInReadOnlyMode)
{
    Open("abc");
    Command(frm->Window, "acReplace")->trigger();
    TfrmReplace *dlg = ReplaceDialog();
    Command(frm->Window, "acReadOnly")->trigger();
    EXPECT_FALSE(Command(frm->Window, "acReplace")->isEnabled());
    dlg->cmbFindText->setEditText(QStringLiteral("a"));
    dlg->cmbReplaceText->setEditText(QStringLiteral("z"));
    dlg->btnReplaceAll->click();
    EXPECT_EQ(Doc(), QByteArray("abc"));
    EXPECT_EQ(ui.Flags.last(), 0x10u);
}

TEST_F(SearchCommandsTest, ReplaceDialogBorrowsTheEditShortcutsWhileActive)
{
    Open("abc");
    frm->Window.show();
    Command(frm->Window, "acReplace")->trigger();
    TfrmReplace *dlg = ReplaceDialog();
    if (!QTest::qWaitForWindowActive(dlg))
        GTEST_SKIP() << "this platform plugin does not activate windows";
    EXPECT_TRUE(Command(frm->Window, "acCopy")->shortcut().isEmpty());
    EXPECT_TRUE(Command(frm->Window, "acOffsetJump")->shortcut().isEmpty());
    frm->Window.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == frm->Window.windowHandle(); }, 2000))
        << "focus stayed on " << (QGuiApplication::focusWindow() ? QGuiApplication::focusWindow()->objectName().toStdString() : "none");
    EXPECT_EQ(Command(frm->Window, "acCopy")->shortcut(), QKeySequence(QStringLiteral("Ctrl+C")));
    EXPECT_EQ(Command(frm->Window, "acOffsetJump")->shortcut(), QKeySequence(QStringLiteral("F4")));
    EXPECT_EQ(Command(frm->Window, "acDelete")->shortcut(), QKeySequence(Qt::Key_Delete));
}

TEST_F(SearchCommandsTest, JumpParsesAddressesAndRemembersTheLastOne)
{
    Open(QByteArray(256, 'j'));
    const struct {
        const char *text;
        int32_t offset;
    } ok[] = {{"255", 255}, {"$FF", 255}, {"0xff", 255}, {" 255", 255}, {"256", 256}, {"$00000", 0}};
    for (const auto &c : ok) {
        ui.StringAnswers = {QString::fromLatin1(c.text)};
        Command(frm->Window, "acJump")->trigger();
        EXPECT_EQ(ed->GetCaretOffset(), c.offset) << c.text;
    }
    EXPECT_TRUE(ui.Messages.isEmpty());

    ui.StringAnswers = {QStringLiteral("257")};
    Command(frm->Window, "acJump")->trigger();
    EXPECT_EQ(ui.Messages.last(), QStringLiteral("指定したアドレスが範囲外です。"));
    EXPECT_EQ(Saved().JumpAddress, "257"); // remembered all the same

    for (const char *bad : {"-1", "12ab", "255 ", "$", "-$10", ""}) {
        ui.Messages.clear();
        ui.Flags.clear();
        ui.StringAnswers = {QString::fromLatin1(bad)}; // then the dialog again, cancelled
        Command(frm->Window, "acJump")->trigger();
        ASSERT_EQ(ui.Messages.size(), 1) << bad;
        EXPECT_EQ(ui.Messages[0], QStringLiteral("指定したアドレスが無効です。"));
        EXPECT_EQ(ui.Flags[0], 0x40u);
    }
    EXPECT_EQ(Saved().JumpAddress, "257");
    EXPECT_EQ(ed->GetCaretOffset(), 0);

    frm.reset(); // written at exit, read at the next start
    frm = std::make_unique<TSearchWindow>();
    EXPECT_EQ(Saved().JumpAddress, "257");
}

TEST_F(SearchCommandsTest, OffsetJumpMovesByTheByteUnderTheCaret)
{
    QByteArray bytes(0x40, '\x01');
    bytes[0x20] = '\x10';
    bytes[0x30] = '\0';
    Open(bytes);
    ed->GotoOffset(0x20);
    Command(frm->Window, "acOffsetJump")->trigger();
    EXPECT_EQ(ed->GetCaretOffset(), 0x30);
    Command(frm->Window, "acOffsetJump")->trigger();
    EXPECT_EQ(ed->GetCaretOffset(), 0x31);
    ed->GotoOffset(0x3F);
    Command(frm->Window, "acOffsetJump")->trigger();
    EXPECT_EQ(ed->GetCaretOffset(), 0x3F);
}

TEST_F(SearchCommandsTest, HexFindRefusesWhatIsNoHexAndRepeatsAsBytesAcrossARestart)
{
    Open(QByteArray("ab\x82\xA0" "A", 5));
    const QString invalid = QStringLiteral("16進数の指定が正しくありません。");
    WithFindDialog(Command(frm->Window, "acFind"), [&](TfrmFind &d) {
        d.chkIgnoreCase->setChecked(true);
        d.chkHex->setChecked(true);
        EXPECT_FALSE(d.chkIgnoreCase->isEnabled());
        d.cmbFindText->setEditText(QStringLiteral("8 2"));
        d.Button1->click();
        EXPECT_EQ(ui.Messages.value(0), invalid);
        EXPECT_EQ(ui.Flags.value(0), 0x10u);
        EXPECT_TRUE(d.isVisible()) << "open, to be put right";
        EXPECT_TRUE(Saved().SearchText.empty());
        d.cmbFindText->setEditText(QStringLiteral("82a0"));
        d.Button1->click();
    });
    EXPECT_EQ(ed->SelAnchor(), 2);
    EXPECT_EQ(ed->SelExtent(), 3);
    // F3 and Shift+F3 repeat the bytes and name the search as it was typed.
    Command(frm->Window, "acFindNext")->trigger();
    EXPECT_EQ(ui.Messages.last(), QStringLiteral("現在位置より後に 82a0 は見つかりませんでした。"));
    Command(frm->Window, "acFindPrev")->trigger();
    EXPECT_EQ(ui.Messages.last(), QStringLiteral("現在位置より前に 82a0 は見つかりませんでした。"));

    frm.reset();
    EXPECT_EQ(Ini(QStringLiteral("Find"), QStringLiteral("Hex")), QStringLiteral("1"));
    frm = std::make_unique<TSearchWindow>();
    EXPECT_TRUE(Saved().SearchHex);
    EXPECT_EQ(Saved().SearchText, "82a0");
    WithFindDialog(Command(frm->Window, "acFind"), [&](TfrmFind &d) {
        EXPECT_TRUE(d.chkHex->isChecked());
        d.chkHex->setChecked(false);
        EXPECT_TRUE(d.chkIgnoreCase->isEnabled());
        d.reject();
    });
}

TEST_F(SearchCommandsTest, HexReplaceAllByNothingAndABadReplacementChangesNothing)
{
    Open(QByteArray("a\0b\0", 4));
    Command(frm->Window, "acReplace")->trigger();
    TfrmReplace *dlg = ReplaceDialog();
    dlg->chkHex->setChecked(true);
    dlg->cmbFindText->setEditText(QStringLiteral("00"));
    dlg->cmbReplaceText->setEditText(QStringLiteral("7"));
    dlg->btnReplaceAll->click();
    EXPECT_EQ(ui.Messages.last(), QStringLiteral("16進数の指定が正しくありません。"));
    EXPECT_EQ(Doc(), QByteArray("a\0b\0", 4));
    dlg->cmbReplaceText->setEditText(QString());
    dlg->btnReplaceAll->click();
    EXPECT_EQ(Doc(), QByteArray("ab"));
    EXPECT_EQ(ui.Messages.last(), QStringLiteral("2 個の文字列を変換しました。"));
    Command(frm->Window, "acUndo")->trigger();
    EXPECT_EQ(Doc(), QByteArray("a\0b\0", 4));
}
