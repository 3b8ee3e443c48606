#include "TPrintServices.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace {
TPrintServices gReal;
TPrintServices *gCurrent = &gReal;
} // namespace

TPrintServices &TPrintServices::Instance() { return *gCurrent; }
void TPrintServices::SetInstance(TPrintServices *services) { gCurrent = services ? services : &gReal; }

bool TPrintServices::OffersOutput()
{
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        return true;
    QPrinter pdf;
    pdf.setOutputFormat(QPrinter::PdfFormat);
    return pdf.isValid();
}

bool TPrintServices::ExecPrintDialog(QPrintDialog &dialog) { return dialog.exec() == QDialog::Accepted; }
