#pragma once
// Notices when another program changes, truncates, replaces or deletes the file that the main
// window shows, and says so once.
//
// What is watched: the document's FileName (nothing for an untitled document); while that
// file is missing, its folder instead, so that the file coming back counts as a change; and
// when the system cannot watch either, a poll once a second.
//
// Every watcher signal only schedules Check() on a zero timer. Check() compares
// TFileIdentity::Of(FileName) with the document's DiskIdentity():
//  - equal: nothing to say. This is why our own save is not reported: the save records the
//    new identity before the signal it caused is looked at;
//  - the file exists but differs: "ファイルが他のプログラムによって変更されました。読み直しますか？"
//    (Yes/No). Yes reads it again through the reload it was given (the read-only mode stays),
//    No keeps the document;
//  - the file is missing: its name and "ファイルは他のプログラムによって削除されたため、
//    もう存在しません。" (OK).
// Once: the state last reported is remembered, so the same state on disk is never reported
// twice; any further change is. One question at a time: checks that come due while a box is
// open (its own event loop runs) are folded into one check after it.
//
// Who calls what: TFileCommands owns it and calls Follow() after every load and save. It also keeps
// the watch armed: a save renames a new file over the old one, and the watcher forgets a path
// whose file was replaced, so each check adds the path again first.

#include "TFileIdentity.h"

#include <functional>

#include <QFileSystemWatcher>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <optional>
#include <string>

class TBusyState;
class TVxHexcavator;

class TFileWatch {
public:
    // `reload` reads the file again when the user says yes to reading a changed file.
    TFileWatch(TVxHexcavator &editor, TBusyState &busy, std::function<void()> reload);

    // The document now has this FileName and DiskIdentity: watch it, forget what was
    // reported about the previous state.
    void Follow();
    // Compares the file on disk with the document and asks or tells when they differ. What a
    // signal leads to; re-entered while a box is open, it only notes that a check is due.
    void Check();
    // A check waits for the event loop or for the open box to close.
    bool CheckScheduled() const { return FTimer.isActive() || FCheckAfterBox; }
    // What the watcher holds now (the file, or its folder while the file is missing).
    QStringList Watched() const { return FWatcher.files() + FWatcher.directories(); }

private:
    void Schedule();
    // Makes the watcher hold exactly what FPath needs now.
    void Arm();
    // Shows the box for a state not reported yet; Yes on a changed file reloads it.
    void Report(const TFileIdentity &now);

    TVxHexcavator &FEditor;
    TBusyState &FBusy;
    std::function<void()> FReload;
    QFileSystemWatcher FWatcher;
    QTimer FTimer;
    QTimer FPoll;
    std::string FPath;
    TFileIdentity FArmedOn; // the file the watch was set on (not Exists: none, or the folder)
    std::optional<TFileIdentity> FReported;
    bool FInBox = false;
    bool FCheckAfterBox = false;
};
