// The print command alone, in a bare window: the print dialog answered by a scripted print
// support (output to a PDF file), the progress dialog driven from inside the page loop as a
// user would, and the printed PDF read back with pdftotext.

#include "FakeUi.h"
#include "TAppUtils.h"
#include "TFeatureFixture.h"
#include "TPrintCommands.h"
#include "TPrintServices.h"
#include "TfrmPrinting.h"

#include <QLabel>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <QApplication>
#include <gtest/gtest.h>

namespace {
class TFakePrint : public TPrintServices {
public:
    TFakePrint() { TPrintServices::SetInstance(this); }
    ~TFakePrint() override { TPrintServices::SetInstance(nullptr); }

    bool Offers = true;
    QString OutputFile;       // where the dialog sends the job; empty: the user cancels
    bool ChooseAll = false;   // the user switches the range to "all"
    QPageSize PageSize{QPageSize::A4}; // portrait
    int Dialogs = 0;
    QAbstractPrintDialog::PrintRange RangeShown = QAbstractPrintDialog::AllPages;
    bool SelectionOffered = false;

    bool OffersOutput() override { return Offers; }
    bool ExecPrintDialog(QPrintDialog &dialog) override
    {
        ++Dialogs;
        RangeShown = dialog.printRange();
        SelectionOffered = dialog.testOption(QAbstractPrintDialog::PrintSelection);
        if (OutputFile.isEmpty())
            return false;
        dialog.printer()->setOutputFormat(QPrinter::PdfFormat);
        dialog.printer()->setOutputFileName(OutputFile);
        dialog.printer()->setPageSize(PageSize);
        dialog.printer()->setPageOrientation(QPageLayout::Portrait);
        if (ChooseAll)
            dialog.setPrintRange(QAbstractPrintDialog::AllPages);
        return true;
    }
};

// The progress dialog of the running print job (a window of its own), or nullptr.
TfrmPrinting *PrintingDialog()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *d = qobject_cast<TfrmPrinting *>(w))
            return d;
    return nullptr;
}

struct PrintCommandsTest : TFeatureTest {
    TPrintCommands prints{fx.Context()};
    TFakePrint print;
    QString Pdf = dir.filePath(QStringLiteral("out.pdf"));

    void SetUp() override { print.OutputFile = Pdf; }

    QString OpenBytes(const QByteArray &bytes)
    {
        const QString path = dir.filePath(QStringLiteral("data.bin"));
        WriteTestFile(path, bytes);
        ed.LoadFromFile(path.toStdString());
        ed.SetReadOnlyMode(true); // as files open
        return path;
    }
    static QByteArray Letters(int n)
    {
        QByteArray b;
        for (int i = 0; i < n; ++i)
            b += char('a' + i % 26);
        return b;
    }
    // Whether the printed pages can be read back here: poppler's pdftotext is a Linux tool
    // (not reachable from a Windows program under Wine).
    static bool PdfReadable()
    {
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-v")});
        return p.waitForStarted(10000) && p.waitForFinished(10000);
    }
    // The printed text, pages separated by form feeds.
    QString PdfText() const
    {
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), Pdf, QStringLiteral("-")});
        EXPECT_TRUE(p.waitForFinished(30000)) << "pdftotext (poppler-utils) is needed";
        return QString::fromUtf8(p.readAllStandardOutput());
    }
    // Runs `during` inside the page loop, at its first chance to handle events.
    static void WhilePrinting(std::function<void()> during) { QTimer::singleShot(0, during); }
};
} // namespace

TEST_F(PrintCommandsTest, WithoutPrinterOrFileOutputNothingIsAsked)
{
    print.Offers = false;
    OpenBytes(Letters(16));
    prints.acPrint->trigger();
    EXPECT_EQ(print.Dialogs, 0);
    ASSERT_EQ(ui.Messages, QStringList{QStringLiteral("プリンタがインストールされていません。")});
    EXPECT_EQ(ui.Flags.at(0), unsigned(mbIconStop));
}

TEST_F(PrintCommandsTest, AnEmptyDocumentHasNothingToPrintAndACancelledDialogNothingAtAll)
{
    prints.acPrint->trigger();
    EXPECT_EQ(print.Dialogs, 1);
    EXPECT_FALSE(print.SelectionOffered);
    ASSERT_EQ(ui.Messages, QStringList{QStringLiteral("印刷データがありません。")});
    EXPECT_EQ(ui.Flags.at(0), unsigned(mbIconInformation));
    EXPECT_FALSE(QFile::exists(Pdf));

    OpenBytes(Letters(16));
    print.OutputFile.clear();
    prints.acPrint->trigger();
    EXPECT_EQ(print.Dialogs, 2);
    EXPECT_EQ(ui.Messages.size(), 1);
}

TEST_F(PrintCommandsTest, TheSelectionIsPreselectedAndPrintsAlone)
{
    if (!PdfReadable())
        GTEST_SKIP() << "no pdftotext to read the pages back";
    OpenBytes(Letters(64));
    ed.SetSelection(20, 5);
    prints.acPrint->trigger();
    EXPECT_TRUE(print.SelectionOffered);
    EXPECT_EQ(print.RangeShown, QAbstractPrintDialog::Selection);
    EXPECT_TRUE(ui.Messages.isEmpty()) << ui.Messages.join(QLatin1Char('\n')).toStdString();
    const QString text = PdfText();
    EXPECT_TRUE(text.contains(QStringLiteral("data.bin")));
    EXPECT_TRUE(text.contains(QStringLiteral("66 67 68 69 6A 6B 6C 6D 6E 6F 70")));
    EXPECT_TRUE(text.contains(QStringLiteral("fghijklmnop")));
    EXPECT_TRUE(text.contains(QStringLiteral("0000010: 71 72 73 74 75")));
    EXPECT_TRUE(text.contains(QStringLiteral("qrstu")));
    EXPECT_FALSE(text.contains(QStringLiteral("0000020:")));
    EXPECT_FALSE(text.contains(QStringLiteral("abcde")));
    EXPECT_TRUE(text.contains(QStringLiteral("1 ページ")));

    // The user switches to "all".
    print.ChooseAll = true;
    prints.acPrint->trigger();
    EXPECT_TRUE(PdfText().contains(QStringLiteral("0000030: 77 78 79 7A 61 62")));
}

TEST_F(PrintCommandsTest, AnUntitledDocumentPrintsMuDaiOnNumberedPages)
{
    if (!PdfReadable())
        GTEST_SKIP() << "no pdftotext to read the pages back";
    ed.SetReadOnlyMode(false);
    const QByteArray bytes = Letters(200 * 16); // more rows than an A4 page holds
    ed.InsertBlock(0, reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size(), true, false);
    prints.acPrint->trigger();
    EXPECT_TRUE(ui.Messages.isEmpty()) << ui.Messages.join(QLatin1Char('\n')).toStdString();
    const QStringList pages = PdfText().split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_GE(pages.size(), 3);
    for (int i = 0; i < pages.size() && !pages[i].trimmed().isEmpty(); ++i) {
        EXPECT_TRUE(pages[i].trimmed().startsWith(QStringLiteral("無題"))) << i;
        EXPECT_TRUE(pages[i].trimmed().endsWith(QStringLiteral("%1 ページ").arg(i + 1))) << i;
    }
    EXPECT_TRUE(pages.last().contains(QStringLiteral("0000C70:")));
}

TEST_F(PrintCommandsTest, NoRoomOnThePageIsReportedAndTheNextJobWorks)
{
    if (!PdfReadable())
        GTEST_SKIP() << "no pdftotext to read the pages back";
    OpenBytes(Letters(100));
    fx.Settings.Values().Print.TopMargin = 999;
    prints.acPrint->trigger();
    ASSERT_EQ(ui.Messages, QStringList{QStringLiteral("印刷可能範囲が存在しません。")});
    EXPECT_EQ(ui.Flags.at(0), unsigned(mbIconStop));
    EXPECT_FALSE(QFile::exists(Pdf)); // the aborted job leaves no file
    EXPECT_EQ(fx.Busy.Depth(), 0);

    fx.Settings.Values().Print.TopMargin = 10;
    prints.acPrint->trigger();
    EXPECT_EQ(ui.Messages.size(), 1);
    EXPECT_TRUE(PdfText().contains(QStringLiteral("0000060: 73 74 75 76")));
}

TEST_F(PrintCommandsTest, CancelConfirmedByEscAbortsTheJobAtTheNextLine)
{
    OpenBytes(Letters(300 * 16));
    bool checked = false;
    WhilePrinting([&] {
        TfrmPrinting *dlg = PrintingDialog();
        ASSERT_NE(dlg, nullptr);
        checked = true;
        EXPECT_TRUE(dlg->isVisible());
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("印刷中"));
        EXPECT_EQ(dlg->size(), QSize(400, 109));
        EXPECT_EQ(dlg->Label1->text(), QStringLiteral("data.bin を印刷中です..."));
        EXPECT_EQ(dlg->lblPageNo->text(), QStringLiteral("1 ページ"));
        // Busy: the main window is disabled and stays open; the dialog takes input.
        EXPECT_GT(fx.Busy.Depth(), 0);
        EXPECT_FALSE(fx.Window.isEnabled());
        EXPECT_FALSE(fx.Window.close());
        EXPECT_TRUE(dlg->isEnabled());
        ui.Answers = {idYes};
        ui.WhileShowing = [dlg] { EXPECT_FALSE(dlg->Button1->isEnabled()); };
        QTest::keyClick(dlg, Qt::Key_Escape);
        EXPECT_FALSE(dlg->isVisible()); // hidden until the loop notices
    });
    prints.acPrint->trigger();
    EXPECT_TRUE(checked);
    ASSERT_EQ(ui.Messages, QStringList{QStringLiteral("印刷を中断してよろしいですか？")});
    EXPECT_EQ(ui.Flags.at(0), unsigned(mbIconQuestion | mbYesNo));
    EXPECT_FALSE(QFile::exists(Pdf));
    EXPECT_EQ(PrintingDialog(), nullptr);
    EXPECT_EQ(fx.Busy.Depth(), 0);
    EXPECT_TRUE(fx.Window.isEnabled());
}

TEST_F(PrintCommandsTest, CancelDeclinedByButtonOrCloseBoxGoesOn)
{
    if (!PdfReadable())
        GTEST_SKIP() << "no pdftotext to read the pages back";
    OpenBytes(Letters(300 * 16));
    int asked = 0;
    WhilePrinting([&] {
        TfrmPrinting *dlg = PrintingDialog();
        ASSERT_NE(dlg, nullptr);
        ui.Answers = {idNo, idNo};
        dlg->Button1->click();
        EXPECT_TRUE(dlg->isVisible());
        EXPECT_TRUE(dlg->Button1->isEnabled());
        dlg->close(); // the close box
        EXPECT_TRUE(dlg->isVisible());
        asked = ui.Messages.size();
    });
    prints.acPrint->trigger();
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(ui.Messages.size(), 2);
    const QStringList pages = PdfText().split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    EXPECT_TRUE(pages.last().contains(QStringLiteral("00012B0:")));
    EXPECT_EQ(PrintingDialog(), nullptr);
}

// At the stored print font the line is wider than A4 and Letter portrait: the job prints
// smaller, so every character of the character column lands on the page (pdftotext reads
// only what lies on it), and the stored setting stays as it was.
TEST_F(PrintCommandsTest, TheCharacterColumnStaysOnAPortraitPageAtTheStoredFont)
{
    if (!PdfReadable())
        GTEST_SKIP() << "no pdftotext to read the pages back";
    ASSERT_EQ(fx.Settings.Values().Print.Font.Size, 14);
    OpenBytes(Letters(64));
    for (QPageSize::PageSizeId size : {QPageSize::A4, QPageSize::Letter}) {
        print.PageSize = QPageSize(size);
        prints.acPrint->trigger();
        EXPECT_TRUE(ui.Messages.isEmpty()) << ui.Messages.join(QLatin1Char('\n')).toStdString();
        const QString text = PdfText();
        const QByteArray bytes = Letters(64);
        for (int row = 0; row < 4; ++row) {
            const QString chars = QString::fromLatin1(bytes.mid(row * 16, 16));
            const QString line = QStringLiteral("%1: ").arg(row * 16, 7, 16, QLatin1Char('0')).toUpper();
            const qsizetype at = text.indexOf(line);
            ASSERT_GE(at, 0) << int(size) << " row " << row;
            const QString printed = text.mid(at, text.indexOf(QLatin1Char('\n'), at) - at);
            EXPECT_TRUE(printed.trimmed().endsWith(chars)) << printed.toStdString();
        }
    }
    EXPECT_EQ(fx.Settings.Values().Print.Font.Size, 14);
}
