#pragma once
// The editing commands: undo, redo, cut, copy, copy as text, paste, delete, typing a string
// (文字列の入力), select all, read-only mode, clearing the clipboard and inserting a file;
// the clipboard transfer (TVxTransfer) they go through.
//
// Each command's enabled state follows the editor's events: cut, copy and delete the
// selection (OnMoveCell), paste, typing a string and inserting a file the read-only mode
// (OnChangeEditMode, OnChangeReadOnlyMode) and the clipboard, undo and redo the history
// (OnChangeUndo). Every command that may move a large block runs in the busy state, so that
// its progress window can appear.
//
// Who calls: the main window creates it with its feature context; tests drive its commands
// and its transfer directly.

#include "TFeatureContext.h"
#include "TVxEvent.h"
#include "TVxTransfer.h"

#include <QString>

class QAction;

class TEditCommands {
public:
    explicit TEditCommands(const TFeatureContext &context);
    ~TEditCommands();

    QAction *acUndo, *acRedo, *acCut, *acCopy, *acCopyText, *acPaste, *acDelete, *acInputStr, *acSelectAll,
        *acReadOnly, *acClearClipBoard, *acInsertFile;

    TVxTransfer &Transfer() { return FTransfer; }

    void acInputStrExecute();
    void acInsertFileExecute();

private:
    void CreateCommands();
    void PlaceCommands();
    void ConnectCommands();
    void UpdateSelectionState();
    void UpdateEditModeState();
    void UpdatePasteState();

    TFeatureContext FContext;
    TVxTransfer FTransfer;
    TVxListeners FListen;
    QString FLastInsertDir;
};
