#include "TOptionCommands.h"

#include "TFileCommands.h"
#include "TMainSettings.h"
#include "TVxHexcavator.h"
#include "TfrmMain.h"
#include "TfrmOption.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QSpinBox>

void TOptionCommands::Connect()
{
    QObject::connect(FMain.Actions.acOption, &QAction::triggered, &FMain,
                     [this] { FMain.Run([this] { acOptionExecute(); }); });
}

void TOptionCommands::acOptionExecute()
{
    TPrintSettings &print = FMain.PrintSettings;
    // Built for this one use; gone again however the dialog ends.
    TfrmOption dlg(&FMain, *FMain.VxHexcavator1);
    dlg.chkReadOnly->setChecked(FMain.Files().FReadOnlyWhenFileOpen);
    dlg.chkFileSaveWithoutClearUndo->setChecked(FMain.Files().FKeepUndoOnSave);
    dlg.pnlPrintFont->setFont(TMainSettings::ToQFont(print.Font));
    dlg.PrintFontCharset = print.Font.Charset;
    dlg.chkPrintFileName->setChecked(print.PrintFileName);
    dlg.chkPrintPageNo->setChecked(print.PrintPageNo);
    dlg.edtTopMargin->setValue(print.TopMargin);
    dlg.edtBottomMargin->setValue(print.BottomMargin);
    dlg.edtLeftMargin->setValue(print.LeftMargin);

    if (dlg.exec() != QDialog::Accepted)
        return;

    // The editor has its settings already (TfrmOption::Button4Click).
    FMain.Files().FReadOnlyWhenFileOpen = dlg.chkReadOnly->isChecked();
    FMain.Files().FKeepUndoOnSave = dlg.chkFileSaveWithoutClearUndo->isChecked();
    print.Font = TMainSettings::FromQFont(dlg.pnlPrintFont->font());
    print.Font.Charset = dlg.PrintFontCharset;
    print.PrintFileName = dlg.chkPrintFileName->isChecked();
    print.PrintPageNo = dlg.chkPrintPageNo->isChecked();
    print.TopMargin = dlg.edtTopMargin->value();
    print.BottomMargin = dlg.edtBottomMargin->value();
    print.LeftMargin = dlg.edtLeftMargin->value();
    FMain.Settings().SaveSettings();
}
