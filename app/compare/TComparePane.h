#pragma once
// The other file of a compare, in a read-only editor pane docked beside the document: it
// looks like the document's editor (font, colours, character code, column grouping) and
// scrolls in step with it, so that the offsets the compare aligned face each other.
//
// The other file is loaded into a working copy of its own, as any document, and the pane's
// editor is read-only: nothing ever writes the other file.
//
// Who calls: TCompareCommands, which owns one per main window.

#include <QString>

#include <cstdint>
#include <functional>

class QDockWidget;
class QMainWindow;
class TVxHexcavator;
class TVxProgress;

class TComparePane {
public:
    // Loading the other file reports to `progress` (the busy state's: Esc stops it).
    TComparePane(QMainWindow &window, TVxHexcavator &document, TVxProgress &progress);
    ~TComparePane();

    // Loads the other file (throws what loading throws; the pane then stays as it was) and
    // shows the pane titled with its name.
    void Open(const QString &path);
    // Hides the pane and lets go of the other file's working copy.
    void Close();
    bool IsOpen() const;
    void SetTitle(const QString &title);

    TVxHexcavator &Editor() const { return *FOther; }
    QDockWidget *Dock() const { return FDock; }

    // Takes the document editor's look, then scrolls so that `facing` (the offset of the other
    // file that faces the document's top row) is in the top row too.
    void Follow(int64_t facing);

private:
    void TakeLook();
    // A read-only editor for the pane, reporting to FProgress.
    TVxHexcavator *MakeEditor();
    // Shows `editor` in the pane in place of the one there, which goes.
    void Replace(TVxHexcavator *editor);

    QMainWindow &FWindow;
    TVxHexcavator &FDocument;
    TVxProgress &FProgress;
    QDockWidget *FDock;
    TVxHexcavator *FOther;
};
