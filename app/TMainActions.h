#pragma once
// Every command of the main window as a QAction with its caption, shortcut, tooltip, tag and
// icon. Menus, the toolbar and the editor's context menu share these objects, so a command's
// enabled and checked state shows the same everywhere.

#include <QList>
#include <QString>

class QAction;
class QActionGroup;
class QObject;

struct TMainActions {
    QAction *acNew, *acOpen, *acSave, *acSaveAs, *acReload, *acInsertFile, *acPrint, *acCloseAll, *acClose;
    QAction *acUndo, *acRedo, *acCut, *acCopy, *acCopyText, *acPaste, *acDelete, *acInputStr, *acSelectAll, *acReadOnly,
        *acClearClipBoard, *acOption;
    QAction *acAsciiByte, *acSjisByte, *acUnicodeByte, *acJisByte, *acEucByte;
    QAction *acViewToolBar, *acViewStatusBar, *acViewAddressHeader, *acViewByteView, *acViewUnderLine;
    QAction *accb1byte, *accb2byte, *accb4byte, *accb8byte, *accb16byte;
    QAction *acNextInstance, *acFind, *acFindNext, *acFindPrev, *acReplace, *acOffsetJump, *acJump;
    QAction *acVersion, *acHomepage;
    QActionGroup *CharCodeGroup, *ColumnBytesGroup;

    // Creates all actions as children of `owner`, in their initial states.
    void Create(QObject *owner);
    // The command's integer tag (character code and column width commands).
    static int Tag(const QAction *action);
    QList<QAction *> All() const;
};
