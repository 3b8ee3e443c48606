#pragma once
// The byte values panel: a dockable panel "データインスペクタ" beside the editor that shows the
// bytes at the caret as numbers in both byte orders, the character at the caret in the
// character column's code, and the selection (TByteValues computes the texts).
//
// The feature owns its command, the checked "データインスペクタ(&D)" of the View menu (the
// panel's own toggle action, so closing the panel with its title-bar button unchecks it),
// and its keys of the settings file (visibility, dock side or floating position, size): its
// section of the settings model, Apply and Collect.
//
// It follows the editor's OnMoveCell, OnChangeUndo, OnChangeFileSize and OnFileOpen, and the
// main window calls Refresh after a change of the character code. While the panel is hidden
// nothing is computed. A refresh reads 8 bytes at the caret and the caret row's characters
// (TVxCharRun) through the cache window, whatever the selection or document size, and
// repaints only the cells whose text changed (TByteValuesTable).
//
// Who calls: the main window creates it with its feature context and refreshes it when the
// character code changes; the edit feature's tests and the benchmarks drive it in a window.

#include "TByteValues.h"
#include "TFeatureContext.h"
#include "TVxEvent.h"

#include <array>
#include <optional>

class QAction;
class QDockWidget;
class QMainWindow;
class QMenu;
class QScrollArea;
class TByteValuesTable;
class TVxHexcavator;
struct TSettings;

class TByteValuesPanel {
public:
    explicit TByteValuesPanel(const TFeatureContext &context);
    ~TByteValuesPanel();

    QAction *acViewByteValues() const;
    QDockWidget *Dock() const { return FDock; }
    TByteValuesTable *View() const { return FView; }
    const TByteValues &Values() const { return FValues; }

    // Recomputes and shows the values for the caret and selection as they stand now.
    void Refresh();

    // The panel's keys of the settings file. The floating position is taken only by the sole
    // running instance, as the main window's placement is.
    void Apply(const TSettings &s, bool soleInstance);
    void Collect(TSettings &s) const;

private:
    // The width that shows the captions and both columns of values whole.
    int PreferredWidth() const;
    // Shown beside the editor, the panel widens a window that is not maximised by what it
    // takes, within the screen, so that the grid stays whole beside it.
    void MakeRoom();

    QMainWindow &FMain;
    TVxHexcavator &FEditor;
    TVxListeners FListen;
    QDockWidget *FDock = nullptr;
    QScrollArea *FScroll = nullptr;
    TByteValuesTable *FView = nullptr;
    TByteValues FValues;
    // What was last known of the places the panel is not in at the moment.
    int FDockedSize = 0;
    std::optional<std::array<int32_t, 4>> FFloatingPosition;
};
