#pragma once
// The running instances working as one tool: the search text that every instance shares, the
// recent-files menu that every instance re-reads after any load, close all (acCloseAll,
// Ctrl+E) and the step to another instance (acNextInstance, Ctrl+Tab).
//
// Owns this instance's place among the others (TInstanceRegistry) and the shared search
// record (TVxShareMemStream "VX_SHAREMEM_SEARCHTEXT", TVxSearchRecord). Built by the main
// window with the search state of its search commands, before its settings load, which asks
// EditorInstanceCount; at that moment the editor already holds the search text of the
// running instances, quietly, while the main window's copy stays as the settings leave it.
//
// Wiring, all from the event loop:
//   search text set here (not silent)  -> record stored, SearchTextChanged to everyone
//   SearchTextChanged received         -> record read, OnChangeSearchText of the search state
//   editor loaded a file               -> FileOpened to everyone
//   FileOpened received                -> the editor's OnFileOpenAnyInstance
//   Close received                     -> the window closes as by its close box (asking about
//                                         unsaved changes), once no dialog is open in it
//   Activate received                  -> the window comes to the front
//   the window became active           -> this instance is the front one
//
// Without a registry (no private runtime folder) or without the shared block, the instance
// runs on its own: it counts as alone, shares nothing, and says once why.
//
// Who calls: the main window creates it with its feature context and the search state of its
// search commands, and asks it at exit whether it is the last instance.

#include <QObject>
#include <memory>
#include <string>

#include "TFeatureContext.h"

class QAction;
class TVxSearchText;
class TInstanceRegistry;
class TVxShareMemStream;

class TInstanceCommands : public QObject {
public:
    TInstanceCommands(const TFeatureContext &context, TVxSearchText &search);
    ~TInstanceCommands() override;

    QAction *acCloseAll, *acNextInstance;

    // Running instances, this one included; 1 when this one runs alone (or knows no others).
    int EditorInstanceCount();
    // At exit: leaves the others and tells whether none is left, so this one writes the
    // settings. Of instances closing together at least one answers true.
    bool LeaveAsLast();

    void acCloseAllExecute();
    void acNextInstanceExecute();

    // Test seam: windows of tests running in parallel processes each share their own block.
    static void SetBlockName(const std::string &name);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CreateCommands();
    void Connect();
    void Share(const std::string &text, bool ignoreCase, bool silent, bool hex);
    void LoadSharedSearchText(bool announce);
    void CloseWhenIdle();
    void Activate();

    TFeatureContext FContext;
    TVxSearchText &FSearch;
    std::unique_ptr<TInstanceRegistry> FRegistry;
    std::unique_ptr<TVxShareMemStream> FBlock;
};
