#pragma once
// A print job on a QPrinter, as the print dialog set it up: a system printer or, with the
// PDF output format, a file.
//
// Abort: the printer drops the job where its engine can. Qt's PDF output cannot, so the
// file it has begun is ended and removed: an aborted job leaves no partial document.

#include "TPrintTarget.h"

class QPrinter;

class TPrinterTarget : public TPrintTarget {
public:
    explicit TPrinterTarget(QPrinter &printer) : FPrinter(printer) {}

    bool Begin(QPainter &painter, const QString &title) override;
    bool NewPage(QPainter &painter) override;
    bool End(QPainter &painter) override;
    void Abort(QPainter &painter) override;

private:
    QPrinter &FPrinter;
};
