#pragma once
// The main window: one editor (VxHexcavator1) filling it, the menu skeleton, the tool bar,
// the editor's context menu, a status bar of five panels, and the title. It wires the
// features together and holds none of their work.
//
// Each feature (file, edit, view, search, instances, print, options, help) gets a
// TFeatureContext (the editor, the busy state, this window as parent, the command places,
// the settings model), creates and places its own commands and listens to the editor's
// events itself. The window builds its menus from the places, keeps the title and the status
// panels from the editor's events, and wires what features must hear of each other (the
// character code to the status bar and the byte values panel, the search state to the
// instances, a save to the title).
//
// Who calls: main() creates one and opens the command line's files through ShowThenOpen;
// tests drive it through its commands (found by object name) and the methods below.

#include "TBusyState.h"
#include "TImportHandoff.h"
#include "TCommandPlaces.h"
#include "TSettingsModel.h"
#include "TVxEvent.h"

#include <QList>
#include <QMainWindow>
#include <QStringList>
#include <QUrl>
#include <memory>

class QLabel;
class QMenu;
class QToolBar;
class TByteValuesPanel;
class TByteOpCommands;
class TChecksumCommands;
class TBookmarkCommands;
class TCompareCommands;
class TCopyAsCommands;
class TEditCommands;
class TExportCommands;
class TFileCommands;
class THelpCommands;
class TImportCommands;
class TInstanceCommands;
class TOptionCommands;
class TPrintCommands;
class TSearchCommands;
class TViewCommands;
class TVxHexcavator;

class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget *parent = nullptr);
    ~TfrmMain() override;

    TVxHexcavator *VxHexcavator1 = nullptr;

    TBusyState &Busy() { return FBusy; }
    TSettingsModel &Settings() { return FSettings; }

    // Opens a file through the open rule (the first in this window, others in new
    // instances), as a dropped or command-line file is opened.
    bool OpenFile(const QString &path);
    // Files dropped from the desktop, in the order given.
    void DropFiles(const QList<QUrl> &urls);
    // Start-up: shows the window, then opens the command line's files once it is painted,
    // after the image another instance imported for this one, if it handed one.
    void ShowThenOpen(const QStringList &arguments, const TImportHandoff::THanded &handed = {});

    void UpdateTitle();
    QString PanelText(int panel) const;
    QToolBar *ToolBar() const { return FToolBar; }
    QMenu *EditorMenu() const { return FEditorMenu; }

    // Formats n with thousands separators ("1,024").
    static QString Grouped(qint64 n);

protected:
    void closeEvent(QCloseEvent *e) override;
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dropEvent(QDropEvent *e) override;

private:
    // Each feature with its context, in the order their settings apply.
    void CreateFeatures();
    // The window's panels and title from the editor, and what features hear of each other.
    void Wire();
    void CreateWindowCommands();
    void BuildMenus();
    void FillMenu(QMenu *menu, const QStringList &places);
    void BuildToolBar();
    void BuildStatusBar();
    void ApplyPlacement(const TSettings &s, bool soleInstance);
    void CollectPlacement(TSettings &s) const;
    void UpdatePositionPanel();
    void UpdateEditModePanel();
    void UpdateSizePanel();

    // First, so that it goes last: the editor reports to its progress to the end.
    TBusyState FBusy;
    TCommandPlaces FPlaces;
    TSettingsModel FSettings;
    QAction *acViewToolBar = nullptr;
    QAction *acViewStatusBar = nullptr;
    std::unique_ptr<TFileCommands> FFiles;
    std::unique_ptr<TEditCommands> FEdit;
    std::unique_ptr<TViewCommands> FView;
    std::unique_ptr<TByteValuesPanel> FValuesPanel;
    std::unique_ptr<TSearchCommands> FSearches;
    std::unique_ptr<TCompareCommands> FCompare;
    std::unique_ptr<TBookmarkCommands> FBookmarks;
    std::unique_ptr<TChecksumCommands> FChecksum;
    std::unique_ptr<TByteOpCommands> FByteOps;
    std::unique_ptr<TImportCommands> FImports;
    std::unique_ptr<TExportCommands> FExports;
    std::unique_ptr<TCopyAsCommands> FCopyAs;
    std::unique_ptr<TInstanceCommands> FInstances;
    std::unique_ptr<TPrintCommands> FPrints;
    std::unique_ptr<TOptionCommands> FOptions;
    std::unique_ptr<THelpCommands> FHelp;
    QToolBar *FToolBar = nullptr;
    QMenu *FEditorMenu = nullptr;
    QLabel *FPanels[5] = {};
    TVxListeners FListen;
};
