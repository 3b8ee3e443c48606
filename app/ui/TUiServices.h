#pragma once
// What the program asks of the user and the desktop: message boxes, file dialogs, the one-line
// input dialog, the font and colour dialogs, starting a program, the live Shift key. Commands reach them only through
// TUiServices::Instance(), so tests replace the real ones with scripted answers instead of
// clicking (or sleeping) through modal dialogs.
//
// Who calls: every feature and dialog that asks the user or starts a program; tests install
// scripted answers (tests/app/FakeUi.h).

#include <QString>
#include <QStringList>

class QColorDialog;
class QFileDialog;
class QWidget;
class TFixedPitchFontDialog;

class TUiServices {
public:
    virtual ~TUiServices() = default;

    // A message box captioned with the application title; flags and result use the values of
    // TVxMsgFlags / TVxMsgResult.
    virtual int MessageBox(QWidget *parent, const QString &text, unsigned flags);
    // Empty when cancelled. `filter` in Qt's form; empty: all files.
    virtual QString AskOpenFileName(QWidget *parent, const QString &preset, const QString &filter = QString());
    virtual QString AskSaveFileName(QWidget *parent, const QString &preset);
    // The one-line input dialog; true on OK, `text` changed only then.
    virtual bool AskString(QWidget *parent, const QString &caption, const QString &prompt, QString &text);
    // The font and colour dialogs, already set up by their owner; true on OK. The choice is
    // then the dialog's CurrentFont() and CurrentColor() (currentColor() of the colour dialog).
    virtual bool ExecFontDialog(TFixedPitchFontDialog &dialog);
    virtual bool ExecColorDialog(QColorDialog &dialog);
    // Starts a program without waiting for it; false when it could not be started.
    virtual bool StartProgram(const QString &program, const QStringList &arguments);
    // The same with variables ("NAME=value") added to the program's environment: how an
    // instance hands another one what no command line may carry.
    virtual bool StartProgramWith(const QString &program, const QStringList &arguments, const QStringList &environment);
    virtual bool IsShiftDown();
    // Opens a document with the desktop's program for it; false when there is none.
    virtual bool OpenDocument(const QString &path);

    // The file dialogs' column widths follow their contents (Qt's own dialog elides them).
    static void FitFileDialogColumns(QFileDialog &dialog);

    static TUiServices &Instance();
    // Replaces the services (nullptr restores the real ones). The caller keeps ownership.
    static void SetInstance(TUiServices *services);
};
