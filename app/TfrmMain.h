#pragma once
// The main window: one editor (VxHexcavator1) filling it, the commands in menus, toolbar and
// the editor's context menu, a status bar of five panels, and the title.
//
// The window keeps its title, status bar and command states from the editor's events
// (OnMoveCell, OnChangeEditMode, OnChangeReadOnlyMode, OnChangeFileSize, OnChangeUndo).
// Editor operations that may fail run through Run(), which shows the error in a message box;
// the long ones also inside the busy state. File commands live in TFileCommands; noticing
// that another program changed the file, in TFileWatch, which follows every load and save.

#include "TMainActions.h"
#include "TSettings.h"
#include "TVxEvent.h"

#include <QList>
#include <QMainWindow>
#include <QUrl>
#include <functional>
#include <memory>

class QLabel;
class QMenu;
class QToolBar;
class TByteValuesPanel;
class TBusyProgress;
class TFileCommands;
class TFileWatch;
class TInstanceCommands;
class TMainSettings;
class TOptionCommands;
class TPrintCommands;
class TRecentFiles;
class TSearchCommands;
class TVxHexcavator;
class TVxTransfer;

class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget *parent = nullptr);
    ~TfrmMain() override;

    TVxHexcavator *VxHexcavator1 = nullptr;
    TMainActions Actions;
    TFileCommands &Files() { return *FFiles; }
    TVxTransfer &Transfer() { return *FTransfer; }
    TSearchCommands &Searches() { return *FSearches; }
    TRecentFiles &Recent() { return *FRecent; }
    TInstanceCommands &Instances() { return *FInstances; }
    TMainSettings &Settings() { return *FSettings; }
    TByteValuesPanel &ValuesPanel() { return *FValuesPanel; }
    TPrintCommands &Prints() { return *FPrints; }
    QMenu *FileMenu() const { return FFileMenu; }
    // The print settings, kept for the print command; read and written with the settings.
    TPrintSettings PrintSettings;
    // The editor font's character set as the settings file gave it (Qt fonts have none).
    int32_t FFontCharset = 128;
    TFileWatch &Watch() { return *FWatch; }
    QString FApplicationTitle;

    void UpdateTitle();
    QString PanelText(int panel) const;
    QToolBar *ToolBar() const { return FToolBar; }
    QMenu *EditorMenu() const { return FEditorMenu; }

    // Event handlers of the editor.
    void VxHexcavator1MoveCell();
    void VxHexcavator1ChangeEditMode();
    void VxHexcavator1ChangeFileSize();
    void VxHexcavator1ChangeUndo(int32_t undoCount);
    void UpdatePasteState();

    // Runs an editor operation; an exception becomes a stop-icon message box. `busy` wraps it
    // in the busy state (hourglass, window disabled, always left again), whose progress
    // window shows `caption` when the work takes long. False when it failed or was cancelled.
    bool Run(const std::function<void()> &work, bool busy = false, const QString &caption = QString());
    // What the busy state shows of long work (the editor reports to it).
    TBusyProgress &BusyProgress() { return *FProgress; }

    // Files dropped from the desktop, in the order given: each opens through the open rule
    // (the first here when this window holds no file, the others in new instances).
    void DropFiles(const QList<QUrl> &urls);

    // Formats n with thousands separators ("1,024").
    static QString Grouped(qint64 n);

    // Shared handlers of the character code and column width commands, by the sender's tag.
    void ChangeCharCode(QAction *sender);
    void ChangeColumnBytes(QAction *sender);

protected:
    void closeEvent(QCloseEvent *e) override;
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dropEvent(QDropEvent *e) override;

private:
    void BuildMenus();
    void BuildToolBar();
    void BuildStatusBar();
    void ConnectCommands();

    // Before the editor goes, so that it never reports to a progress that is gone.
    std::unique_ptr<TBusyProgress> FProgress;
    std::unique_ptr<TFileCommands> FFiles;
    std::unique_ptr<TVxTransfer> FTransfer;
    std::unique_ptr<TSearchCommands> FSearches;
    std::unique_ptr<TInstanceCommands> FInstances;
    std::unique_ptr<TRecentFiles> FRecent;
    std::unique_ptr<TMainSettings> FSettings;
    std::unique_ptr<TOptionCommands> FOptions;
    std::unique_ptr<TByteValuesPanel> FValuesPanel;
    std::unique_ptr<TPrintCommands> FPrints;
    QMenu *FFileMenu = nullptr;
    std::unique_ptr<TFileWatch> FWatch;
    QToolBar *FToolBar = nullptr;
    QMenu *FEditorMenu = nullptr;
    QLabel *FPanels[5] = {};
    TVxListeners FListen;
};
