#pragma once
// How the editor looks: the character code of its character column (表示 > 文字コード), the
// bytes per column group (カラムのバイト数), the address header, the character column and
// the caret-row underline; and the settings section of the editor's font, colours, view
// flags, character code, column groups, double-buffer flag and backup policy.
//
// The character code commands are tagged in the menu's order (0 ASCII, 1 Shift-JIS,
// 2 UNICODE, 3 JIS, 4 EUC, 5 UTF-8, 6 a character table), which is not TVxCharCode's; each
// has the name the status bar shows and the settings file keeps. "文字テーブル(&T)..." asks
// for a .tbl file and shows the column through it; a table that cannot be used is a message
// naming the file and line, and the column shows ASCII. The table's path is kept.
//
// "文字コードを自動判別する(&D)" (off unless chosen): when a document opens, its first
// 64 KiB choose the column's code for it (TVxCodeDetect); the code the user chose stays the
// one the settings keep, and comes back when a document gives no clear answer.
//
// Who calls: the main window creates it with its feature context and listens to
// OnChangeCharCode (the status bar and the byte values panel follow the code).

#include "TFeatureContext.h"
#include "TVxEvent.h"
#include "TVxTextFilter.h"

#include <QList>
#include <QString>
#include <string>

class QAction;
class QActionGroup;
class QMenu;
struct TSettings;

class TViewCommands {
public:
    explicit TViewCommands(const TFeatureContext &context);
    ~TViewCommands();

    QAction *acAsciiByte, *acSjisByte, *acUnicodeByte, *acUtf8Byte, *acJisByte, *acEucByte, *acCharTable;
    QAction *acAutoDetectCharCode;
    // Zoom: the editor's font one step larger or smaller (Ctrl++, Ctrl+-, Ctrl+wheel), or
    // back to the size the settings gave (Ctrl+0). The size is the font size the settings
    // keep, as if chosen in the options dialog.
    QAction *acZoomIn, *acZoomOut, *acZoomReset;
    QAction *acViewAddressHeader, *acViewByteView, *acViewUnderLine;
    QAction *accb1byte, *accb2byte, *accb4byte, *accb8byte, *accb16byte;

    // After the character code changed, with the name of the new code ("SJIS", "UTF-8"...).
    TVxEvent<const QString &> OnChangeCharCode;

    struct TCharCodeCommand {
        TVxCharCode Code;
        const char *Name;
    };
    // The code and name of a command's tag; nullptr for any other tag.
    static const TCharCodeCommand *CharCodeOfTag(int tag);
    // The command that shows `name` (as CharCodeOfTag names it); nullptr for an unknown name.
    QAction *CharCodeAction(const std::string &name) const;
    // The character code command the settings choose: CharCode 1 is Shift-JIS as ever; else
    // CharCodeName names one of the other offered codes; anything else is ASCII.
    QAction *CharCodeCommand(const TSettings &s) const;

    // The handlers of the character code and column width commands, by the sender's tag.
    // `byUser`: the user's own choice, which the settings keep (a guessed code is not).
    void ChangeCharCode(QAction *sender, bool byUser = true);
    void ChangeColumnBytes(QAction *sender);

    // Asks for a table and shows the column through it.
    void acCharTableExecute();
    // Shows the column through the table at `path`; false, with a message and the column in
    // ASCII, when it cannot be used.
    bool UseCharTable(const QString &path);

private:
    void CreateCommands();
    void DetectCharCode();
    void Zoom(int steps);
    QAction *UserCodeAction() const;
    void Apply(const TSettings &s);
    void Collect(TSettings &s) const;

    TFeatureContext FContext;
    QMenu *FCharCodeMenu;
    QMenu *FColumnMenu;
    QActionGroup *FCharCodeGroup;
    QActionGroup *FColumnBytesGroup;
    int FUserTag = 0;    // the code the user chose, by tag
    QString FTablePath;  // the table in use, or the one last used
    TVxListeners FListen;
    int FBaseFontSize = 0; // points, what Ctrl+0 returns to
};
