#pragma once
// Keeps the document's bookmarks in the bookmarks file (TVxBookmarkStore), per file, across
// restarts and instances.
//
// When they are read: at every load of a named file. The record of the file's absolute path
// gives the bookmarks, unless the file changed on disk since they were written: then they are
// kept only when its size is the same, and the user is told once (the record is brought up to
// date, or dropped, so the next load is silent).
//
// When they are written: after every change the user makes to them (Changed()), and after
// every save. A bookmark's offset means a byte of the file on disk only while the document
// has had no insert or delete since its load or save (TVxDocument::Changes() is known); a
// change made after one waits for the save, and is lost with the edits when they are
// discarded. So closing the window has nothing left to write.
//
// A damaged bookmarks file is told once per window and read for what it holds;
// it is rewritten only by a change of the user's (TVxBookmarkStore). A file that cannot be
// written is told once per loaded document.
//
// Who calls: TBookmarkCommands, which owns it, after each bookmark command.

#include "TFeatureContext.h"
#include "TVxEvent.h"

#include <QString>
#include <string>

class TBookmarkPersistence {
public:
    explicit TBookmarkPersistence(const TFeatureContext &context);

    // The user set, took away, renamed or recoloured a bookmark.
    void Changed();

    static QString StoreFileName();

private:
    void Load();
    void Write(bool userChange);
    std::string Key() const;
    void Tell(const QString &text, unsigned icon);

    TFeatureContext FContext;
    TVxListeners FListen;
    bool FPending = false;   // a change waits for the save
    bool FHasRecord = false; // the file has a record to keep up to date
    bool FWriteFailTold = false;
    bool FDamageTold = false; // once per window: every document would find the same damage
};
