#include "TPrinterTarget.h"

#include <QFile>
#include <QPainter>
#include <QPrinter>

bool TPrinterTarget::Begin(QPainter &painter, const QString &title)
{
    FPrinter.setDocName(title);
    return painter.begin(&FPrinter);
}

bool TPrinterTarget::NewPage(QPainter &) { return FPrinter.newPage(); }

bool TPrinterTarget::End(QPainter &painter)
{
    const bool ended = painter.end();
    return ended && FPrinter.printerState() != QPrinter::Error;
}

void TPrinterTarget::Abort(QPainter &painter)
{
    const bool dropped = FPrinter.abort();
    if (painter.isActive())
        painter.end();
    const QString file = FPrinter.outputFileName();
    if (!dropped && FPrinter.outputFormat() == QPrinter::PdfFormat && !file.isEmpty())
        QFile::remove(file);
}
