#include "TOptionCommands.h"

#include "TBusyState.h"
#include "TCommand.h"
#include "TCommandPlaces.h"
#include "TSettingsModel.h"
#include "TSettingsQt.h"
#include "TVxHexcavator.h"
#include "TfrmOption.h"

#include <QAction>
#include <QMainWindow>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QSpinBox>

TOptionCommands::TOptionCommands(const TFeatureContext &context) : FContext(context)
{
    acOption = TCommand::Make(&context.Window, "acOption", QStringLiteral("環境設定(&S)..."), QKeySequence(Qt::ALT | Qt::Key_Return),
                              QStringLiteral("環境設定"), QStringLiteral("option"));
    context.Places.Add(QStringLiteral("edit.tools"), {acOption});
    context.Places.Add(QStringLiteral("toolbar.option"), {acOption});
    QObject::connect(acOption, &QAction::triggered, &context.Window,
                     [this] { FContext.Busy.Run([this] { acOptionExecute(); }); });
}

void TOptionCommands::acOptionExecute()
{
    TSettings &values = FContext.Settings.Values();
    TPrintSettings &print = values.Print;
    // Built for this one use; gone again however the dialog ends.
    TfrmOption dlg(FContext.Busy, FContext.Editor);
    dlg.chkReadOnly->setChecked(values.ReadOnlyWhenFileOpen);
    dlg.chkFileSaveWithoutClearUndo->setChecked(values.KeepUndoOnSave);
    dlg.pnlPrintFont->setFont(TSettingsQt::ToQFont(print.Font));
    dlg.PrintFontCharset = print.Font.Charset;
    dlg.chkPrintFileName->setChecked(print.PrintFileName);
    dlg.chkPrintPageNo->setChecked(print.PrintPageNo);
    dlg.edtTopMargin->setValue(print.TopMargin);
    dlg.edtBottomMargin->setValue(print.BottomMargin);
    dlg.edtLeftMargin->setValue(print.LeftMargin);

    if (dlg.exec() != QDialog::Accepted)
        return;

    // The editor has its settings already (TfrmOption::Button4Click).
    values.ReadOnlyWhenFileOpen = dlg.chkReadOnly->isChecked();
    values.KeepUndoOnSave = dlg.chkFileSaveWithoutClearUndo->isChecked();
    print.Font = TSettingsQt::FromQFont(dlg.pnlPrintFont->font());
    print.Font.Charset = dlg.PrintFontCharset;
    print.PrintFileName = dlg.chkPrintFileName->isChecked();
    print.PrintPageNo = dlg.chkPrintPageNo->isChecked();
    print.TopMargin = dlg.edtTopMargin->value();
    print.BottomMargin = dlg.edtBottomMargin->value();
    print.LeftMargin = dlg.edtLeftMargin->value();
    FContext.Settings.Save();
}
