#pragma once
// The bookmarks file in the settings folder ("Hexcavat.bmk" beside "Hexcavat.ini"), shared by
// every running instance.
//
// Read takes the file as it is: writers replace it by a rename, so a reader sees the old
// file or the new one, never half of one. Put is a read-modify-write under the same kind of
// lock as the settings file (TLockFile, "Hexcavat.bmk.lock"): the file is read again under
// the lock, the one path's record replaced, and the result written to a new file that is
// synced and renamed over the old one. Another instance's records of other files survive,
// and a crash leaves the old file or the new.
//
// A damaged file (TVxBookmarkFile::DamagedLines, or a file that cannot be read at all: no
// permission, not a regular file, over kMaxFileSize) is kept as it is until the user changes
// bookmarks: Put with `userChange` false (the writes that follow a save or a reopen) leaves
// it alone and returns false; with `userChange` true the readable records are kept and the
// rest dropped. A file that cannot be read at all is never replaced.
//
// Errors: Put throws std::system_error when the file cannot be written (the caller words
// it); Read never throws. Cost: the whole file is read, and on Put written, each time.
// Who calls: the bookmark commands of the program.

#include "TVxBookmarkFile.h"

#include <string>

class TVxBookmarkStore {
public:
    static constexpr const char *kFileName = "Hexcavat.bmk";
    static constexpr size_t kMaxFileSize = 16 << 20;

    explicit TVxBookmarkStore(std::string fileName) : FFileName(std::move(fileName)) {}
    const std::string &FileName() const { return FFileName; }

    struct TRead {
        TVxBookmarkFile File;
        bool Unreadable = false; // there, but not readable: nothing in it was used
        bool Damaged() const { return Unreadable || File.DamagedLines() > 0; }
    };
    TRead Read() const;
    // See the class comment; true when the file was written.
    bool Put(const TVxBookmarkRecord &record, bool userChange);

private:
    std::string FFileName;
};
