#include "TUiServices.h"

#include "TAppUtils.h"
#include "TVxDocumentHooks.h"
#include "TfrmInput.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QProcess>

namespace {
TUiServices gReal;
TUiServices *gCurrent = &gReal;

QFileDialog::Options DialogOptions()
{
    return QFileDialog::Options();
}
} // namespace

TUiServices &TUiServices::Instance() { return *gCurrent; }
void TUiServices::SetInstance(TUiServices *services) { gCurrent = services ? services : &gReal; }

int TUiServices::MessageBox(QWidget *parent, const QString &text, unsigned flags)
{
    QMessageBox box(parent);
    box.setWindowTitle(TAppUtils::ApplicationTitle());
    box.setText(text);
    switch (flags & 0xF0) {
    case mbIconStop: box.setIcon(QMessageBox::Critical); break;
    case mbIconQuestion: box.setIcon(QMessageBox::Question); break;
    case mbIconWarning: box.setIcon(QMessageBox::Warning); break;
    case mbIconInformation: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    switch (flags & 0x0F) {
    case mbYesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case mbYesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case mbOKCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return idYes;
    case QMessageBox::No: return idNo;
    case QMessageBox::Cancel: return idCancel;
    default: return idOK;
    }
}

QString TUiServices::AskOpenFileName(QWidget *parent, const QString &preset)
{
    return QFileDialog::getOpenFileName(parent, QString(), preset, QStringLiteral("全てのファイル(*)"), nullptr,
                                        DialogOptions());
}

QString TUiServices::AskSaveFileName(QWidget *parent, const QString &preset)
{
    // The dialog asks before overwriting an existing file.
    return QFileDialog::getSaveFileName(parent, QString(), preset, QStringLiteral("全てのファイル(*)"), nullptr,
                                        DialogOptions());
}

bool TUiServices::AskString(QWidget *parent, const QString &caption, const QString &prompt, QString &text)
{
    return TfrmInput::ShowInputDialog(caption, prompt, text, parent);
}

bool TUiServices::StartProgram(const QString &program, const QStringList &arguments)
{
    return QProcess::startDetached(program, arguments);
}

bool TUiServices::IsShiftDown()
{
    return QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier;
}
