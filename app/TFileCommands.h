#pragma once
// The file commands of the main window: new, open (with the rule that a window already showing
// a file hands a further file to a new instance), save, save as, reload, insert file, close,
// and the question about unsaved changes that guards opening, reloading and closing.
//
// Dialogs and message boxes go through TUiServices; starting an instance through
// TCommandLine::RunCommandLine.

#include <QString>
#include <cstdint>
#include <functional>

class TfrmMain;

class TFileCommands {
public:
    explicit TFileCommands(TfrmMain &main) : FMain(main) {}
    void Connect();

    // Keep the undo history over saves (setting "FClearUndoWhenFileSave": true keeps it).
    bool FKeepUndoOnSave = false;
    // Switch to read-only mode after a file is opened here.
    bool FReadOnlyWhenFileOpen = true;

    // The open rule. `quiet`: failures are not shown (the files of a list file). False when
    // opening failed or was declined; a file that does not exist is silently passed by.
    bool OpenFile(const QString &fileName, bool quiet = false);
    // 6 (Yes), 7 (No) or 2 (Cancel); 7 without asking when nothing is unsaved.
    int ConfirmSaveChanges();
    // Whether the window may close.
    bool FormCloseQuery();

    void acNewExecute();
    void acOpenExecute();
    void acSaveExecute();
    void acSaveAsExecute();
    // Reads the file again; asks first only when there are unsaved changes.
    void acReloadExecute();
    void acInsertFileExecute();

    // Reads FileName again without asking, in the busy state, keeping the read-only mode.
    void Reload();
    // After every successful save, once FileName and DiskIdentity name the saved file.
    std::function<void()> OnSaved;

    static QString ProgramPath();

private:
    bool Save(const QString &fileName);
    QString FileName() const;

    TfrmMain &FMain;
    QString FLastInsertDir;
};
