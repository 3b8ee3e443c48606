#pragma once
// What the print command asks of the platform's print support: whether it offers anything
// to print on, and the print dialog. Reached only through TPrintServices::Instance(), so
// tests answer the dialog (a PDF file, the range) and can take every printer away.
//
// Who calls: the print command, before it offers the print dialog; tests replace it.

class QPrintDialog;

class TPrintServices {
public:
    virtual ~TPrintServices() = default;

    // A system printer, or output to a file (Qt's PDF output, which stands in for the PDF
    // printer other systems install): false only when the print support offers neither.
    virtual bool OffersOutput();
    // Runs the dialog, already set up by the command; true when the user chose to print.
    // Its printer and printRange() then say where and what.
    virtual bool ExecPrintDialog(QPrintDialog &dialog);

    static TPrintServices &Instance();
    // Replaces the services (nullptr restores the real ones). The caller keeps ownership.
    static void SetInstance(TPrintServices *services);
};
