#pragma once
// The replace dialog: non-modal and on top of the main window while the user works in the
// editor. It finds, replaces one occurrence (at or after the caret) or all, and keeps the
// find and replacement histories in the settings file.
//
// While it is the active window, the main window's F4, Ctrl+Z, Del, Ctrl+C, Ctrl+X and
// Ctrl+V shortcuts are taken off so that those keys reach its edit fields; they come back as
// soon as it loses activation. It deletes itself when closed. In read-only mode its replace
// buttons refuse with a message instead of changing the document.
//
// Who calls: the search commands, which keep at most one open.

#include "TVxHistoryList.h"

#include <QDialog>
#include <QKeySequence>
#include <QList>
#include <QPair>
#include <QPointer>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class TBusyState;
class TVxEditorSearch;
class TVxHexcavator;

class TfrmReplace : public QDialog {
    Q_OBJECT
public:
    // Owned by `window`, whose commands it takes the shortcuts of (by their names).
    TfrmReplace(QWidget &window, TBusyState &busy, TVxHexcavator &editor, TVxEditorSearch &search);
    ~TfrmReplace() override;

    QLabel *Label1, *Label2;
    QComboBox *cmbFindText, *cmbReplaceText;
    QCheckBox *chkIgnoreCase;
    QCheckBox *chkHex;
    QPushButton *btnFind, *btnReplace, *btnReplaceAll, *btnCancel;

    void LoadHistory();
    void SaveHistory();
    // Offset of the match, -1 when none, -2 for an empty find text.
    int32_t DoFind(bool select);
    // Number of replacements.
    int32_t DoReplace(bool all);

private:
    void TakeShortcuts(bool take);

    QWidget &FMain;
    TBusyState &FBusy;
    TVxHexcavator &FEditor;
    TVxEditorSearch &FSearch;
    TVxHistoryList FFindHistory, FReplaceHistory;
    QList<QPair<QPointer<QAction>, QList<QKeySequence>>> FTaken;
};
