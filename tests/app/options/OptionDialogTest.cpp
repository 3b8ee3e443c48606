// The options dialog through its command, in a bare window with the view commands (whose
// settings section writes the editor's look), clicked and typed into as a user
// would; the font and colour dialogs are answered by TFakeUi. Also the fixed-pitch filter of
// the font dialog against the installed faces.

#include "FakeUi.h"
#include "TFeatureFixture.h"
#include "TOptionCommands.h"
#include "TViewCommands.h"
#include "TFixedPitchFontDialog.h"
#include "TSettingsQt.h"
#include "TSettingsFile.h"
#include "TVxHexcavator.h"
#include "TfrmOption.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {
using Item = TfrmOption::TColorItem;
// Text and background of the six items as the editor has them (the underline and the changed
// bytes have no background); every value differs from its default, so a value not carried
// shows.
const QColor kText[7] = {QColor(0x10, 0x20, 0x30), QColor(0x11, 0x21, 0x31), QColor(0x12, 0x22, 0x32),
                         QColor(0x13, 0x23, 0x33), QColor(0x14, 0x24, 0x34), QColor(0x15, 0x25, 0x35), QColor()};
const QColor kBack[7] = {QColor(0xE0, 0xF0, 0xD0), QColor(0xE1, 0xF1, 0xD1), QColor(0xE2, 0xF2, 0xD2), QColor(),
                         QColor(0xE4, 0xF4, 0xD4), QColor(), QColor(0xE6, 0xF6, 0xD6)};

struct OptionDialogTest : TFeatureTest {
    TViewCommands view{fx.Context()};
    TOptionCommands options{fx.Context()};

    void SetUp() override
    {
        ed.SetFontColor(kText[0]);
        ed.SetColor(kBack[0]);
        ed.SetSelectColor(kText[1]);
        ed.SetSelectBGColor(kBack[1]);
        ed.SetCurrentLineColor(kText[2]);
        ed.SetCurrentLineBGColor(kBack[2]);
        ed.SetUnderLineColor(kText[3]);
        ed.SetAddressColor(kText[4]);
        ed.SetAddressBGColor(kBack[4]);
        ed.SetChangedColor(kText[5]);
        ed.SetMarkBGColor(kBack[6]);
        ed.SaveBackup = true;
        ed.SaveBackupCount = 7;
        ed.SetDoubleBuffered(true);
        fx.Settings.Values().Font.Charset = 1;
        // Every box starts ticked, so that one the dialog does not fill ends up ticked.
        fx.Settings.Values().ReadOnlyWhenFileOpen = true;
        fx.Settings.Values().KeepUndoOnSave = true;
        fx.Settings.Values().Print.PrintFileName = fx.Settings.Values().Print.PrintPageNo = true;
        fx.Settings.Values().Print.LeftMargin = 13;
        fx.Settings.Values().Print.Font.Charset = 134;
        ASSERT_FALSE(QFile::exists(settings.Ini()));
    }

    // Runs the options command; `use` gets the dialog once it is up and should end it. A
    // dialog left open is cancelled, so that a failing test cannot hang.
    void WithOptions(const std::function<void(TfrmOption &)> &use)
    {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto *dlg = qobject_cast<TfrmOption *>(QApplication::activeModalWidget());
            if ((seen = dlg != nullptr)) {
                use(*dlg);
                if (dlg->isVisible())
                    dlg->reject();
            }
        });
        options.acOption->trigger();
        ASSERT_TRUE(seen) << "no options dialog came up";
    }

    static void ShowPage(TfrmOption &d, int page)
    {
        QTabBar *bar = d.PageControl1->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(page).center());
    }
    static void ClickItem(QListWidget *list, int row, Qt::KeyboardModifiers mod = {})
    {
        list->scrollToItem(list->item(row)); // the last rows lie below the list's height
        QTest::mouseClick(list->viewport(), Qt::LeftButton, mod, list->visualItemRect(list->item(row)).center());
    }
    static void Click(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton); }
    // On the box, not on the empty space right of its caption.
    static void ClickBox(QCheckBox *box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); }
    static void TypeInto(QSpinBox *spin, const QString &text)
    {
        spin->selectAll();
        QTest::keyClicks(spin, text);
    }
    static QColor TextOf(QLabel *l) { return l->palette().color(QPalette::WindowText); }
    static QColor BackOf(QLabel *l) { return l->palette().color(QPalette::Window); }
};
} // namespace

TEST_F(OptionDialogTest, OkAppliesEverythingAndWritesTheSettingsFile)
{
    const QFont display(QStringLiteral("DejaVu Sans Mono"), 17);
    QFont printFont(QStringLiteral("Nimbus Mono PS"), 8);
    printFont.setItalic(true);
    ui.FontAnswers = {{display, Qt::red}, {printFont, Qt::red}};
    QColor picked[11];
    for (int i = 0; i < 11; ++i)
        ui.ColorAnswers.push_back(picked[i] = QColor(i, 2 * i, 3 * i));

    WithOptions([&](TfrmOption &d) {
        for (QCheckBox *box : {d.chkReadOnly, d.chkFileSaveWithoutClearUndo, d.chkDoubleBuffered})
            ClickBox(box);
        TypeInto(d.edtBackupCount, QStringLiteral("250"));
        ShowPage(d, 1);
        Click(d.Button3);
        // Text and background of every item but the underline and the changed bytes, whose
        // backgrounds are refused, and the differences, whose text colour is.
        for (int item = 0; item < TfrmOption::ciCount; ++item) {
            ClickItem(d.ListBox1, item);
            if (item != TfrmOption::ciDifference)
                Click(d.btnFontColor);
            if (item != TfrmOption::ciUnderLine && item != TfrmOption::ciChanged)
                Click(d.btnBkColor);
        }
        ShowPage(d, 2);
        ClickBox(d.chkPrintFileName);
        ClickBox(d.chkPrintPageNo);
        TypeInto(d.edtTopMargin, QStringLiteral("0"));
        TypeInto(d.edtBottomMargin, QStringLiteral("999"));
        Click(d.Button1);
        Click(d.Button4);
    });

    // Each colour dialog started from what the preview showed.
    const QColor shown[] = {kText[0], kBack[0], kText[1], kBack[1], kText[2], kBack[2], kText[3], kText[4], kBack[4],
                            kText[5], kBack[6]};
    EXPECT_EQ(ui.ColorsShown, QList<QColor>(std::begin(shown), std::end(shown)));

    const QColor applied[] = {ed.FontColor(),         ed.Color(),          ed.SelectColor(),
                              ed.SelectBGColor(),     ed.CurrentLineColor(), ed.CurrentLineBGColor(),
                              ed.UnderLineColor(),    ed.AddressColor(),   ed.AddressBGColor(),
                              ed.ChangedColor(),      ed.MarkBGColor()};
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(applied[i], picked[i]) << "colour " << i;
    EXPECT_EQ(ed.font().family(), display.family());
    EXPECT_EQ(ed.font().pointSize(), 17);
    EXPECT_FALSE(ed.DoubleBuffered());
    EXPECT_EQ(ed.SaveBackupCount, 250);
    EXPECT_FALSE(fx.Settings.Values().ReadOnlyWhenFileOpen);
    EXPECT_FALSE(fx.Settings.Values().KeepUndoOnSave);
    const TPrintSettings &p = fx.Settings.Values().Print;
    EXPECT_EQ(p.TopMargin, 0);
    EXPECT_EQ(p.BottomMargin, 999);
    EXPECT_EQ(p.LeftMargin, 13);
    EXPECT_FALSE(p.PrintFileName);
    EXPECT_FALSE(p.PrintPageNo);
    EXPECT_EQ(p.Font.Name, "Nimbus Mono PS");
    EXPECT_EQ(p.Font.Size, 8);
    EXPECT_TRUE(p.Font.Style.Italic);
    EXPECT_EQ(p.Font.Charset, 134) << "the print font keeps its character set";

    // The file holds it all, read back as the next start would.
    const TSettings s = TSettingsFile().Load();
    EXPECT_FALSE(s.ReadOnlyWhenFileOpen);
    EXPECT_FALSE(s.KeepUndoOnSave);
    EXPECT_EQ(s.Font.Name, display.family().toStdString());
    EXPECT_EQ(s.Font.Charset, 1) << "the editor font keeps its character set";
    EXPECT_EQ(s.AddressBGColor, TSettingsQt::FromQColor(picked[8]));
    EXPECT_EQ(s.ChangedFontColor, TSettingsQt::FromQColor(picked[9]));
    EXPECT_EQ(s.DiffBGColor, TSettingsQt::FromQColor(picked[10]));
    EXPECT_FALSE(s.DoubleBuffered);
    EXPECT_EQ(s.SaveBackupCount, 250);
    EXPECT_EQ(s.Print.TopMargin, 0);
    EXPECT_FALSE(s.Print.PrintPageNo);
    EXPECT_EQ(s.Print.Font, p.Font);
}

TEST_F(OptionDialogTest, CancelEscapeAndCloseBoxChangeNothingAndWriteNothing)
{
    const QFont editorFont = ed.font();
    const std::function<void(TfrmOption &)> ends[] = {
        [](TfrmOption &d) { Click(d.Button5); },
        [](TfrmOption &d) { QTest::keyClick(d.ListBox1, Qt::Key_Escape); },
        [](TfrmOption &d) { d.close(); },
    };
    for (const auto &end : ends) {
        ui.FontAnswers = {{QFont(QStringLiteral("DejaVu Sans Mono"), 30), Qt::red}};
        ui.ColorAnswers = {Qt::red, Qt::green};
        WithOptions([&](TfrmOption &d) {
            EXPECT_EQ(d.PageControl1->currentIndex(), 0) << "each use gets a new dialog, on its first page";
            ClickBox(d.chkReadOnly);
            ClickBox(d.chkBackup);
            ShowPage(d, 1);
            Click(d.Button3);
            ClickItem(d.ListBox1, 0);
            Click(d.btnFontColor);
            Click(d.btnBkColor);
            ASSERT_EQ(d.TextColor(TfrmOption::ciNormal), QColor(Qt::red)) << "the picks reached the dialog";
            end(d);
            EXPECT_FALSE(d.isVisible());
        });
        EXPECT_EQ(ed.FontColor(), kText[0]);
        EXPECT_EQ(ed.Color(), kBack[0]);
        EXPECT_EQ(ed.font(), editorFont);
        EXPECT_TRUE(ed.SaveBackup);
        EXPECT_TRUE(fx.Settings.Values().ReadOnlyWhenFileOpen);
        EXPECT_FALSE(QFile::exists(settings.Ini())) << "nothing was written";
    }
    EXPECT_TRUE(fx.Window.findChildren<TfrmOption *>().isEmpty()) << "the dialogs were freed";
}

TEST_F(OptionDialogTest, UnderlineBackgroundIsRefusedWithAMessageAndNoColourDialog)
{
    ui.ColorAnswers = {Qt::green};
    WithOptions([&](TfrmOption &d) {
        ShowPage(d, 1);
        ClickItem(d.ListBox1, TfrmOption::ciUnderLine);
        EXPECT_EQ(TextOf(d.pnlFontColor), kText[3]);
        EXPECT_EQ(BackOf(d.pnlFontColor), kBack[0]) << "previewed on the ordinary background";
        Click(d.btnBkColor);
        EXPECT_EQ(ui.Messages, QStringList{QStringLiteral("この項目の背景色は設定できません。")});
        EXPECT_EQ(ui.Flags, QList<unsigned>{0x40});
        EXPECT_TRUE(ui.ColorsShown.isEmpty()) << "no colour dialog for the underline's background";
        Click(d.btnFontColor); // its text colour can be set
        Click(d.Button4);
    });
    EXPECT_EQ(ed.UnderLineColor(), QColor(Qt::green));
    EXPECT_EQ(ed.Color(), kBack[0]);
}

TEST_F(OptionDialogTest, ChangedBytesHaveATextColourOnlyAndDifferencesABackgroundOnly)
{
    ui.ColorAnswers = {Qt::blue};
    WithOptions([&](TfrmOption &d) {
        ShowPage(d, 1);
        ASSERT_EQ(d.ListBox1->count(), TfrmOption::ciCount);
        EXPECT_EQ(d.ListBox1->item(TfrmOption::ciChanged)->text(), QStringLiteral("変更されたバイト"));
        ClickItem(d.ListBox1, TfrmOption::ciChanged);
        EXPECT_EQ(TextOf(d.pnlFontColor), kText[5]);
        EXPECT_EQ(BackOf(d.pnlFontColor), kBack[0]) << "previewed on the ordinary background";
        Click(d.btnBkColor);
        EXPECT_EQ(ui.Messages, QStringList{QStringLiteral("この項目の背景色は設定できません。")});
        EXPECT_TRUE(ui.ColorsShown.isEmpty());
        Click(d.btnFontColor);
        // The differences of a compare: a background only, previewed with the ordinary text.
        EXPECT_EQ(d.ListBox1->item(TfrmOption::ciDifference)->text(), QStringLiteral("相違点"));
        ClickItem(d.ListBox1, TfrmOption::ciDifference);
        EXPECT_EQ(TextOf(d.pnlFontColor), kText[0]);
        EXPECT_EQ(BackOf(d.pnlFontColor), kBack[6]);
        Click(d.btnFontColor);
        EXPECT_EQ(ui.Messages.value(1), QStringLiteral("この項目の文字色は設定できません。"));
        EXPECT_EQ(ui.ColorsShown.size(), 1);
        Click(d.Button4);
    });
    EXPECT_EQ(ed.ChangedColor(), QColor(Qt::blue));
    EXPECT_EQ(ed.MarkBGColor(), kBack[6]);
    EXPECT_EQ(ed.FontColor(), kText[0]) << "the item without a text colour leaves the ordinary one";
    EXPECT_EQ(ed.Color(), kBack[0]);
    EXPECT_EQ(TSettingsFile().Load().ChangedFontColor, 0xFF0000u) << "blue in the file's order";
}

TEST_F(OptionDialogTest, ColourFromTheFontDialogIsNotUsed)
{
    ui.FontAnswers = {{QFont(QStringLiteral("DejaVu Sans Mono"), 21), QColor(0xFF, 0x00, 0xFF)}};
    WithOptions([&](TfrmOption &d) {
        ShowPage(d, 1);
        Click(d.Button3);
        EXPECT_EQ(ui.FontsShown.value(0).family(), ed.font().family()) << "started from the preview's font";
        EXPECT_EQ(ui.FontColorsShown.value(0), QColor(Qt::black));
        EXPECT_EQ(d.pnlFont->font().pointSize(), 21);
        EXPECT_EQ(TextOf(d.pnlFont), QColor(Qt::black)) << "the preview stays black";
        Click(d.Button4);
    });
    EXPECT_EQ(ed.font().pointSize(), 21);
    EXPECT_EQ(ed.FontColor(), kText[0]) << "the editor draws in the first item's text colour";
}

TEST_F(OptionDialogTest, UntickedBackupsDisableTheCountYetItIsApplied)
{
    ed.SaveBackup = false;
    WithOptions([&](TfrmOption &d) {
        EXPECT_FALSE(d.edtBackupCount->isEnabled());
        ClickBox(d.chkBackup);
        EXPECT_TRUE(d.edtBackupCount->isEnabled());
        TypeInto(d.edtBackupCount, QStringLiteral("42"));
        ClickBox(d.chkBackup);
        EXPECT_FALSE(d.edtBackupCount->isEnabled());
        Click(d.Button4);
    });
    EXPECT_FALSE(ed.SaveBackup);
    EXPECT_EQ(ed.SaveBackupCount, 42);
}

TEST_F(OptionDialogTest, TypedCountBelowItsRangeBecomesTheLeast)
{
    // Confirmed by Enter (which also presses the default button) and by clicking OK.
    const std::function<void(TfrmOption &)> confirms[] = {
        [](TfrmOption &d) { QTest::keyClick(d.edtBackupCount, Qt::Key_Return); },
        [](TfrmOption &d) { Click(d.Button4); },
    };
    for (const auto &confirm : confirms) {
        ed.SaveBackupCount = 7;
        WithOptions([&](TfrmOption &d) {
            TypeInto(d.edtBackupCount, QStringLiteral("0"));
            confirm(d);
            EXPECT_FALSE(d.isVisible());
        });
        EXPECT_EQ(ed.SaveBackupCount, 1);
    }
}

TEST_F(OptionDialogTest, ColourButtonsFollowTheSelection)
{
    WithOptions([&](TfrmOption &d) {
        ShowPage(d, 1);
        EXPECT_FALSE(d.btnFontColor->isEnabled()) << "nothing is selected at first";
        EXPECT_FALSE(d.btnBkColor->isEnabled());
        for (int item : {TfrmOption::ciSelect, TfrmOption::ciAddress, TfrmOption::ciCurrentLine}) {
            ClickItem(d.ListBox1, item);
            EXPECT_TRUE(d.btnFontColor->isEnabled() && d.btnBkColor->isEnabled()) << "item " << item;
            EXPECT_EQ(TextOf(d.pnlFontColor), kText[item]) << "item " << item;
            EXPECT_EQ(BackOf(d.pnlFontColor), kBack[item]) << "item " << item;
        }
        ClickItem(d.ListBox1, TfrmOption::ciCurrentLine, Qt::ControlModifier); // deselects
        EXPECT_FALSE(d.btnFontColor->isEnabled() || d.btnBkColor->isEnabled());
        QTest::keyClick(d.ListBox1, Qt::Key_Up);
        EXPECT_TRUE(d.btnFontColor->isEnabled());
        EXPECT_EQ(BackOf(d.pnlFontColor), kBack[TfrmOption::ciSelect]);
    });
}

namespace {
// The first of the names under which a face may be installed; empty when none is.
QString Installed(const QStringList &names)
{
    for (const QString &n : names)
        if (QFontDatabase::hasFamily(n))
            return n;
    return QString();
}

struct FixedPitchFontsTest : ::testing::Test {
    const QString latinMono = Installed({QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Nimbus Mono PS")});
    const QString ipaGothic = Installed({QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック")});
    const QString proportional = Installed({QStringLiteral("DejaVu Sans"), QStringLiteral("Nimbus Sans")});
    TFixedPitchFontDialog dlg;

    void SetUp() override
    {
        if (latinMono.isEmpty() || ipaGothic.isEmpty() || proportional.isEmpty())
            GTEST_SKIP() << "needs a monospace Latin face, IPAGothic (fonts-ipafont-gothic) and a proportional face";
    }
    void Show(const QFont &font)
    {
        dlg.SetCurrentFont(font);
        dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    }
};
} // namespace

TEST_F(FixedPitchFontsTest, JapaneseMonospaceFacesPassProportionalOnesDoNot)
{
    EXPECT_TRUE(TFixedPitchFontDialog::IsFixedPitch(latinMono)) << latinMono.toStdString();
    EXPECT_TRUE(TFixedPitchFontDialog::IsFixedPitch(ipaGothic)) << ipaGothic.toStdString();
    EXPECT_FALSE(TFixedPitchFontDialog::IsFixedPitch(proportional)) << proportional.toStdString();

    // The dialog lists those that pass and returns what is clicked.
    Show(QFont(proportional, 10));
    EXPECT_TRUE(dlg.lstFamily->findItems(proportional, Qt::MatchExactly).isEmpty());
    const QList<QListWidgetItem *> ipa = dlg.lstFamily->findItems(ipaGothic, Qt::MatchExactly);
    ASSERT_EQ(ipa.size(), 1);
    ASSERT_EQ(dlg.lstFamily->findItems(latinMono, Qt::MatchExactly).size(), 1);
    dlg.lstFamily->scrollToItem(ipa[0]);
    QTest::mouseClick(dlg.lstFamily->viewport(), Qt::LeftButton, {}, dlg.lstFamily->visualItemRect(ipa[0]).center());
    QTest::mouseClick(dlg.lstStyle->viewport(), Qt::LeftButton, {},
                      dlg.lstStyle->visualItemRect(dlg.lstStyle->item(2)).center()); // 太字
    dlg.edtSize->selectAll();
    QTest::keyClicks(dlg.edtSize, QStringLiteral("16"));
    QTest::mouseClick(dlg.btnOK, Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.CurrentFont().family(), ipaGothic);
    EXPECT_TRUE(dlg.CurrentFont().bold() && !dlg.CurrentFont().italic());
    EXPECT_EQ(dlg.CurrentFont().pointSize(), 16);
}

TEST_F(FixedPitchFontsTest, AFamilyNotInstalledIsKeptUntilAnotherIsPicked)
{
    QFont stored(QStringLiteral("FixedSys"), 14);
    stored.setStyleHint(QFont::Monospace);
    const QString drawn = QFontInfo(stored).family();
    if (QFontDatabase::hasFamily(stored.family()) || !TFixedPitchFontDialog::IsFixedPitch(drawn))
        GTEST_SKIP() << "needs FixedSys missing and a fixed-pitch face drawn in its stead";
    Show(stored);
    ASSERT_NE(dlg.lstFamily->currentItem(), nullptr);
    EXPECT_EQ(dlg.lstFamily->currentItem()->text(), drawn);
    // Going through the controls is no pick.
    dlg.lstFamily->setFocus();
    QTest::keyClick(dlg.lstFamily, Qt::Key_Tab);
    QTest::mouseClick(dlg.btnOK, Qt::LeftButton);
    EXPECT_EQ(dlg.CurrentFont().family(), QStringLiteral("FixedSys"));
}

#ifndef _WIN32 // Windows' registry verb: WindowsDesktopTest, on a scratch key rather than the user's own
TEST_F(OptionDialogTest, TheShellBoxRegistersAndUnregistersTheFileManagerEntries)
{
    const QString entry = settings.Dir.filePath(QStringLiteral("share/applications/hexcavator-open.desktop"));
    WithOptions([&](TfrmOption &d) {
        EXPECT_FALSE(d.chkUseShellExtention->isChecked());
        ClickBox(d.chkUseShellExtention);
        Click(d.Button4);
    });
    EXPECT_TRUE(QFile::exists(entry));
    EXPECT_TRUE(ReadTestFile(entry).contains(QCoreApplication::applicationFilePath().toUtf8()));
    WithOptions([&](TfrmOption &d) {
        EXPECT_TRUE(d.chkUseShellExtention->isChecked());
        ClickBox(d.chkUseShellExtention);
        Click(d.Button4);
    });
    EXPECT_FALSE(QFile::exists(entry));
}
#endif
