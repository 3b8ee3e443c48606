#include "TUiServices.h"

#include "TAppUtils.h"
#include "TFixedPitchFontDialog.h"
#include "TVxMessageBox.h"
#include "TfrmInput.h"

#include <QDesktopServices>
#include <QColorDialog>
#include <QFileDialog>
#include <QHeaderView>
#include <QTreeView>
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

void TUiServices::FitFileDialogColumns(QFileDialog &dialog)
{
    // Qt's own dialog (where the desktop has none) gives its columns fixed widths and elides
    // sizes and dates ("286...MiB"): each column is as wide as its contents instead.
    for (QTreeView *view : dialog.findChildren<QTreeView *>()) {
        QHeaderView *header = view->header();
        for (int c = 1; c < header->count(); ++c)
            header->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    }
}

namespace {
QString AskFileName(QWidget *parent, const QString &preset, const QString &filter, bool save)
{
    QFileDialog dialog(parent, QString(), preset, filter.isEmpty() ? QStringLiteral("全てのファイル(*)") : filter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // Saving asks before overwriting an existing file.
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    TUiServices::FitFileDialogColumns(dialog);
    // Room for the name, size, type and date columns side by side.
    dialog.resize(dialog.sizeHint().expandedTo(QSize(820, 480)));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}
} // namespace

QString TUiServices::AskOpenFileName(QWidget *parent, const QString &preset, const QString &filter)
{
    return AskFileName(parent, preset, filter, false);
}

QString TUiServices::AskSaveFileName(QWidget *parent, const QString &preset)
{
    return AskFileName(parent, preset, QString(), true);
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

bool TUiServices::StartProgramWith(const QString &program, const QStringList &arguments,
                                   const QStringList &environment)
{
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    for (const QString &entry : environment) {
        const qsizetype eq = entry.indexOf(QLatin1Char('='));
        variables.insert(entry.left(eq), entry.mid(eq + 1));
    }
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setProcessEnvironment(variables);
    return process.startDetached();
}

bool TUiServices::OpenDocument(const QString &path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }

bool TUiServices::IsShiftDown()
{
    return QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier;
}
