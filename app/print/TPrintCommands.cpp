#include "TPrintCommands.h"

#include "TBusyState.h"
#include "TCommand.h"
#include "TCommandPlaces.h"
#include "TSettingsModel.h"
#include "TSettingsQt.h"
#include "TPrintServices.h"
#include "TPrinterTarget.h"
#include "TVxMessageBox.h"
#include "TVxHexcavator.h"
#include "TfrmPrinting.h"

#include <QMainWindow>

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
    const QString name = QFileInfo(QString::fromStdString(ed.FileName())).fileName();
    return name.isEmpty() ? QStringLiteral("無題") : name;
}
} // namespace

TPrintCommands::TPrintCommands(const TFeatureContext &context) : FContext(context)
{
    acPrint = TCommand::Make(&FContext.Window, "acPrint", QStringLiteral("印刷(&P)..."), QKeySequence(Qt::CTRL | Qt::Key_P), QString(),
                             QStringLiteral("print"));
    context.Places.Add(QStringLiteral("file.print"), {acPrint});
    context.Places.Add(QStringLiteral("toolbar.print"), {acPrint});
    QObject::connect(acPrint, &QAction::triggered, &FContext.Window, [this] { FContext.Busy.Run([this] { acPrintExecute(); }); });
}

TPrintCommands::~TPrintCommands() = default;

QPrinter &TPrintCommands::Printer()
{
    if (!FPrinter)
        FPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *FPrinter;
}

void TPrintCommands::acPrintExecute()
{
    TVxHexcavator &ed = FContext.Editor;
    if (!TPrintServices::Instance().OffersOutput()) {
        FContext.Busy.Message(QStringLiteral("プリンタがインストールされていません。"), mbIconStop);
        return;
    }
    int32_t first = 0, last = ed.FileSize() - 1;
    {
        QPrintDialog dlg(&Printer(), &FContext.Window);
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
        FContext.Busy.Message(QStringLiteral("印刷データがありません。"), mbIconInformation);
        return;
    }

    TBusy busy(FContext.Busy);
    FPrintCancel = false;
    FPrinting = std::make_unique<TfrmPrinting>(FContext.Busy, QString::fromStdString(ed.FileName()));
    FPrinting->OnCancel = [this] { CancelPrint(); };
    FPrinting->show();
    FContext.Window.installEventFilter(this);
    // The dialog goes before the busy state ends, whatever the job did.
    struct TEnd {
        TPrintCommands &C;
        ~TEnd()
        {
            C.FContext.Window.removeEventFilter(&C);
            C.FPrinting.reset();
        }
    } end{*this};
    PrintBytes(first, last);
}

TPrintJob TPrintCommands::MakeJob(int32_t first, int32_t last) const
{
    const TVxHexcavator &ed = FContext.Editor;
    TPrintJob job;
    job.Title = Title(ed);
    job.First = first;
    job.Last = last;
    job.GroupSize = 1 << static_cast<int>(ed.ColumnBytes());
    job.HideOffsetHeader = ed.HideOffsetHeader();
    job.CharCode = ed.CharCode();
    ApplySettings(job, FContext.Settings.Values().Print);
    return job;
}

void TPrintCommands::ApplySettings(TPrintJob &job, const TPrintSettings &s)
{
    job.Font = TSettingsQt::ToQFont(s.Font);
    job.TopMargin = s.TopMargin;
    job.BottomMargin = s.BottomMargin;
    job.LeftMargin = s.LeftMargin;
    job.Header = s.PrintFileName;
    job.Footer = s.PrintPageNo;
}

void TPrintCommands::PrintBytes(int32_t first, int32_t last)
{
    TPrinterTarget target(Printer());
    if (TPrintPages::Print(FContext.Editor, MakeJob(first, last), target, this) == TPrintResult::NoRoom)
        FContext.Busy.Message(QStringLiteral("印刷可能範囲が存在しません。"), mbIconStop);
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
    if (watched == &FContext.Window && event->type() == QEvent::Close) {
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
