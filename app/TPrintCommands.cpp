#include "TPrintCommands.h"

#include "TAppUtils.h"
#include "TMainSettings.h"
#include "TPrintServices.h"
#include "TPrinterTarget.h"
#include "TVxDocumentHooks.h"
#include "TVxHexcavator.h"
#include "TfrmMain.h"
#include "TfrmPrinting.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>

#include <algorithm>

namespace {
QString Title(const TVxHexcavator &ed)
{
    const QString name = QFileInfo(QFile::decodeName(ed.FileName().c_str())).fileName();
    return name.isEmpty() ? QStringLiteral("無題") : name;
}
} // namespace

TPrintCommands::TPrintCommands(TfrmMain &main) : FMain(main) {}

TPrintCommands::~TPrintCommands() = default;

void TPrintCommands::Connect()
{
    QObject::connect(FMain.Actions.acPrint, &QAction::triggered, &FMain,
                     [this] { FMain.Run([this] { acPrintExecute(); }); });
}

QPrinter &TPrintCommands::Printer()
{
    if (!FPrinter)
        FPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *FPrinter;
}

void TPrintCommands::acPrintExecute()
{
    TVxHexcavator &ed = *FMain.VxHexcavator1;
    if (!TPrintServices::Instance().OffersOutput()) {
        TAppUtils::ShowAppMessage(QStringLiteral("プリンタがインストールされていません。"), mbIconStop);
        return;
    }
    int32_t first = 0, last = ed.FileSize() - 1;
    {
        QPrintDialog dlg(&Printer(), &FMain);
        QAbstractPrintDialog::PrintDialogOptions options =
            QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize |
            QAbstractPrintDialog::PrintCollateCopies;
        const bool hasSelection = ed.SelectionLength() > 0;
        if (hasSelection)
            options |= QAbstractPrintDialog::PrintSelection;
        dlg.setOptions(options);
        dlg.setPrintRange(hasSelection ? QAbstractPrintDialog::Selection : QAbstractPrintDialog::AllPages);
        if (!TPrintServices::Instance().ExecPrintDialog(dlg))
            return;
        if (dlg.printRange() == QAbstractPrintDialog::Selection && hasSelection) {
            ed.GetSelectionRange(first, last);
            last = std::min(last, ed.FileSize() - 1); // the end position holds no byte
        }
    }
    if (last < 0) {
        TAppUtils::ShowAppMessage(QStringLiteral("印刷データがありません。"), mbIconInformation);
        return;
    }

    TBusy busy;
    FPrintCancel = false;
    FPrinting = std::make_unique<TfrmPrinting>(&FMain, QFile::decodeName(ed.FileName().c_str()));
    FPrinting->OnCancel = [this] { CancelPrint(); };
    FPrinting->show();
    FMain.installEventFilter(this);
    // The dialog goes before the busy state ends, whatever the job did.
    struct TEnd {
        TPrintCommands &C;
        ~TEnd()
        {
            C.FMain.removeEventFilter(&C);
            C.FPrinting.reset();
        }
    } end{*this};
    PrintBytes(first, last);
}

TPrintJob TPrintCommands::MakeJob(int32_t first, int32_t last) const
{
    const TVxHexcavator &ed = *FMain.VxHexcavator1;
    TPrintJob job;
    job.Title = Title(ed);
    job.First = first;
    job.Last = last;
    job.GroupSize = 1 << static_cast<int>(ed.ColumnBytes());
    job.HideOffsetHeader = ed.HideOffsetHeader();
    job.CharCode = ed.CharCode();
    ApplySettings(job, FMain.PrintSettings);
    return job;
}

void TPrintCommands::ApplySettings(TPrintJob &job, const TPrintSettings &s)
{
    job.Font = TMainSettings::ToQFont(s.Font);
    job.TopMargin = s.TopMargin;
    job.BottomMargin = s.BottomMargin;
    job.LeftMargin = s.LeftMargin;
    job.Header = s.PrintFileName;
    job.Footer = s.PrintPageNo;
}

void TPrintCommands::PrintBytes(int32_t first, int32_t last)
{
    TPrinterTarget target(Printer());
    if (TPrintPages::Print(*FMain.VxHexcavator1, MakeJob(first, last), target, this) == TPrintResult::NoRoom)
        TAppUtils::ShowAppMessage(QStringLiteral("印刷可能範囲が存在しません。"), mbIconStop);
}

void TPrintCommands::PageStarted(int32_t page)
{
    if (FPrinting)
        FPrinting->ShowPage(page);
}

void TPrintCommands::LetEventsThrough() { QCoreApplication::processEvents(); }

bool TPrintCommands::eventFilter(QObject *watched, QEvent *event)
{
    // The window may not go while a job draws from its document.
    if (watched == &FMain && event->type() == QEvent::Close) {
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
