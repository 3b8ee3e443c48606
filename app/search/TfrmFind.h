#pragma once
// The find dialog: a search text with its history, ignore-case and from-top options, and
// one search forward or backward. Modal; the history and the from-top option are saved in
// the settings file after every search (not when cancelled).
//
// Who calls: the search commands (検索, and find next without a search text).

#include "TVxHistoryList.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class TBusyState;
class TVxEditorSearch;

class TfrmFind : public QDialog {
    Q_OBJECT
public:
    TfrmFind(QWidget *mainWindow, TBusyState &busy, TVxEditorSearch &search);

    QLabel *Label1;
    QComboBox *cmbFindText;
    QCheckBox *chkIgnoreCase;
    QCheckBox *chkFromTop;
    QCheckBox *chkHex;
    QPushButton *Button3; // backward (tag 1)
    QPushButton *Button1; // forward (tag 0), the default
    QPushButton *Button2; // cancel

    void LoadHistory();
    void SaveHistory();
    // The search of either button; backward for Button3.
    void Button1Click(bool backward);

private:
    TBusyState &FBusy;
    TVxEditorSearch &FSearch;
    TVxHistoryList FHistory;
};
