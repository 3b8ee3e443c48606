#pragma once
// The print command (acPrint, Ctrl+P): Qt's print dialog, then the whole
// document or the selection as dump pages (TPrintPages) on the printer or PDF file chosen,
// with the progress dialog TfrmPrinting, which can cancel.
//
// A job runs inside the busy state (hourglass, main window disabled). The page loop lets
// pending events through once per line slot, so the progress dialog takes its button, Esc
// and close box; a confirmed cancel sets FPrintCancel and the loop aborts the job at its next
// slot. Closing the main window is refused while a job runs.
//
// Messages: "プリンタがインストールされていません。" when the print support offers neither a
// printer nor file output (TPrintServices), "印刷データがありません。" for nothing to print,
// "印刷可能範囲が存在しません。" when margins and font leave no line on a page. A job the
// device fails throws, and the main window shows why.
//
// The printer is kept between jobs, so the dialog starts from the last choice. The print
// settings are the settings model's values, read when a job starts.
//
// Who calls: the main window creates it with its feature context; tests drive PrintBytes.

#include "TFeatureContext.h"
#include "TPrintPages.h"
#include "TSettings.h"

#include <QObject>
#include <cstdint>
#include <memory>

class QAction;
class QPrinter;
class TfrmPrinting;

class TPrintCommands : public QObject, private TPrintProgress {
public:
    explicit TPrintCommands(const TFeatureContext &context);
    ~TPrintCommands() override;

    QAction *acPrint;

    void acPrintExecute();
    // Prints the inclusive range [first, last] as one job on the chosen printer.
    void PrintBytes(int32_t first, int32_t last);
    // The progress dialog's confirmed cancel.
    void CancelPrint() { FPrintCancel = true; }

    bool FPrintCancel = false;
    // The progress dialog while a job runs, else nullptr.
    TfrmPrinting *Progress() const { return FPrinting.get(); }
    QPrinter &Printer();
    // The job as the editor and the print settings make it now.
    TPrintJob MakeJob(int32_t first, int32_t last) const;
    // The print settings' part of a job: font, margins, header and footer.
    static void ApplySettings(TPrintJob &job, const TPrintSettings &settings);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void PageStarted(int32_t page) override;
    bool Cancelled() override { return FPrintCancel; }
    void LetEventsThrough() override;

    TFeatureContext FContext;
    std::unique_ptr<QPrinter> FPrinter;
    std::unique_ptr<TfrmPrinting> FPrinting;
};
