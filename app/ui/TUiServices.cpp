#include "TUiServices.h"

#include "TAppUtils.h"
#include "TFixedPitchFontDialog.h"
#include "TVxMessageBox.h"
#include "TfrmInput.h"

#include <QDesktopServices>
#include <QColorDialog>
#include <QFileDialog>
#include <QUrl>
#include <QGuiApplication>
#include <QProcess>

namespace {
TUiServices gReal;
TUiServices *gCurrent = &gReal;
} // namespace

TUiServices &TUiServices::Instance() { return *gCurrent; }
void TUiServices::SetInstance(TUiServices *services) { gCurrent = services ? services : &gReal; }

int TUiServices::MessageBox(QWidget *parent, const QString &text, unsigned flags)
{
    return TVxMessageBox::Show(parent, TAppUtils::ApplicationTitle(), text, flags);
}

QString TUiServices::AskOpenFileName(QWidget *parent, const QString &preset, const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, QString(), preset,
                                        filter.isEmpty() ? QStringLiteral("全てのファイル(*)") : filter);
}

QString TUiServices::AskSaveFileName(QWidget *parent, const QString &preset)
{
    // The dialog asks before overwriting an existing file.
    return QFileDialog::getSaveFileName(parent, QString(), preset, QStringLiteral("全てのファイル(*)"));
}

bool TUiServices::AskString(QWidget *parent, const QString &caption, const QString &prompt, QString &text)
{
    return TfrmInput::ShowInputDialog(caption, prompt, text, parent);
}

bool TUiServices::ExecFontDialog(TFixedPitchFontDialog &dialog) { return dialog.exec() == QDialog::Accepted; }

bool TUiServices::ExecColorDialog(QColorDialog &dialog)
{
    if (dialog.exec() != QDialog::Accepted)
        return false;
    // A native dialog may report its choice only as the selected colour.
    dialog.setCurrentColor(dialog.selectedColor());
    return true;
}

bool TUiServices::StartProgram(const QString &program, const QStringList &arguments)
{
    return QProcess::startDetached(program, arguments);
}

bool TUiServices::OpenDocument(const QString &path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }

bool TUiServices::IsShiftDown()
{
    return QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier;
}
