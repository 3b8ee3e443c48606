#pragma once
// The search commands: find (modal dialog), find next and previous (F3, Shift+F3), replace
// (non-modal dialog), jump to an address (Ctrl+G) and the offset jump (F4); the editor's
// search (TVxEditorSearch), whose search text the running instances share.
//
// Keeps the window's copy of the current search text and ignore-case flag (refreshed
// whenever the editor's search text changes) and the last jump address, and writes and reads
// both as its settings section (the search text only for the sole running instance). The
// replace command follows the read-only mode.
//
// Who calls: the main window creates it with its feature context and hands its search state
// (State()) to the instance cooperation, which shares it.

#include "TFeatureContext.h"
#include "TVxEditorSearch.h"
#include "TVxEvent.h"

#include <QPointer>
#include <QString>
#include <string>

class QAction;
class TfrmReplace;
struct TSettings;

class TSearchCommands {
public:
    explicit TSearchCommands(const TFeatureContext &context);
    ~TSearchCommands();

    QAction *acFind, *acFindNext, *acFindPrev, *acReplace, *acOffsetJump, *acJump;

    TVxEditorSearch &Search() { return FSearch; }
    TVxSearchText &State() { return FSearch.State(); }
    TfrmReplace *ReplaceDialog() const;

    // The window's copy of the search state.
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
    void CreateCommands();
    void FindAgain(bool backward);
    void Apply(const TSettings &s, bool soleInstance);
    void Collect(TSettings &s) const;

    TFeatureContext FContext;
    TVxEditorSearch FSearch;
    QPointer<TfrmReplace> FReplace;
    TVxListeners FListen;
};
