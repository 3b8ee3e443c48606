#pragma once
// The search commands of the main window: find (modal dialog), find next and previous (F3,
// Shift+F3), replace (non-modal dialog), jump to an address (Ctrl+G) and the offset jump (F4).
//
// Keeps the main window's copy of the current search text and ignore-case flag (refreshed
// whenever the editor's search text changes) and the last jump address; TMainSettings reads
// and writes both with the other settings.

#include "TVxEditorSearch.h"

#include <QPointer>
#include <QString>

class TfrmMain;
class TfrmReplace;

class TSearchCommands {
public:
    explicit TSearchCommands(TfrmMain &main);
    ~TSearchCommands();
    void Connect();

    TVxEditorSearch &Search() { return FSearch; }
    TfrmReplace *ReplaceDialog() const;

    // The main window's copy of the search state.
    std::string FSearchText;
    bool FSearchIgnoreCase = false;
    bool FSearchHex = false;
    QString FJumpAddress;

    void acFindExecute();
    void acFindNextExecute();
    void acFindPrevExecute();
    void acReplaceExecute();
    void acJumpExecute();
    void acOffsetJumpExecute();

private:
    void FindAgain(bool backward);

    TfrmMain &FMain;
    TVxEditorSearch FSearch;
    QPointer<TfrmReplace> FReplace;
};
