#pragma once
// The file commands: new, open (with the rule that a window already showing a file hands a
// further file to a new instance), save, save as, reload, close, and the question about
// unsaved changes that guards opening, reloading and closing. The feature also owns the
// watch on the open file (TFileWatch, which follows every load and save) and the recent-files
// list of the File menu (TRecentFiles).
//
// Dialogs and message boxes go through TUiServices; starting an instance through
// TCommandLine::RunCommandLine. The file commands' two flags (keep the undo history over
// saves; read-only after an open) are settings values, read when they are needed.
//
// Who calls: the main window creates it with its feature context, asks FormCloseQuery when
// the window is to close, opens dropped and command-line files through OpenFile, and
// listens to OnSaved (the title follows).

#include "TFeatureContext.h"
#include "TVxEvent.h"

#include <QString>
#include <memory>

class QAction;
class TFileWatch;
class TRecentFiles;

class TFileCommands {
public:
    explicit TFileCommands(const TFeatureContext &context);
    ~TFileCommands();

    QAction *acNew, *acOpen, *acSave, *acSaveAs, *acReload, *acClose;

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

    // Reads FileName again without asking, in the busy state, keeping the read-only mode.
    void Reload();
    // After every save that succeeded or failed, once FileName and DiskIdentity name the
    // file as it now stands; `ok` tells which.
    TVxEvent<bool> OnSaved;

    TFileWatch &Watch() { return *FWatch; }
    TRecentFiles &Recent() { return *FRecent; }

    static QString ProgramPath();

private:
    void CreateCommands();
    bool Save(const QString &fileName);
    QString FileName() const;

    TFeatureContext FContext;
    std::unique_ptr<TFileWatch> FWatch;
    std::unique_ptr<TRecentFiles> FRecent;
    TVxListeners FListen;
};
