#pragma once
// Every command of the main window as a QAction with its caption, shortcut, tooltip, tag and
// icon. Menus, the toolbar and the editor's context menu share these objects, so a command's
// enabled and checked state shows the same everywhere.

#include "TVxTextFilter.h"

#include <QList>
#include <QString>

#include <string>

class QAction;
class QActionGroup;
class QObject;

struct TMainActions {
    QAction *acNew, *acOpen, *acSave, *acSaveAs, *acReload, *acInsertFile, *acPrint, *acCloseAll, *acClose;
    QAction *acUndo, *acRedo, *acCut, *acCopy, *acCopyText, *acPaste, *acDelete, *acInputStr, *acSelectAll, *acReadOnly,
        *acClearClipBoard, *acOption;
    QAction *acAsciiByte, *acSjisByte, *acUnicodeByte, *acUtf8Byte, *acJisByte, *acEucByte;
    QAction *acViewToolBar, *acViewStatusBar, *acViewAddressHeader, *acViewByteView, *acViewUnderLine;
    QAction *accb1byte, *accb2byte, *accb4byte, *accb8byte, *accb16byte;
    QAction *acNextInstance, *acFind, *acFindNext, *acFindPrev, *acReplace, *acOffsetJump, *acJump;
    QAction *acVersion, *acHomepage;
    QActionGroup *CharCodeGroup, *ColumnBytesGroup;

    // Creates all actions as children of `owner`, in their initial states.
    void Create(QObject *owner);
    // The command's integer tag (character code and column width commands).
    static int Tag(const QAction *action);

    // The character code commands by tag (0 ASCII, 1 Shift-JIS, 2 UNICODE, 3 JIS, 4 EUC,
    // 5 UTF-8: the menu's order, not TVxCharCode's), with the name that the status panel
    // shows and the settings file keeps. nullptr for any other tag.
    struct TCharCodeCommand {
        TVxCharCode Code;
        const char *Name;
    };
    static const TCharCodeCommand *CharCodeOfTag(int tag);
    // The command that shows `name` (as CharCodeOfTag names it); nullptr for an unknown name.
    QAction *CharCodeAction(const std::string &name) const;
    QList<QAction *> All() const;
};
