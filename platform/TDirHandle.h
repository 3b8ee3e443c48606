#pragma once
// An open folder. Names inside it are resolved against this handle (openat, renameat,
// linkat), so a folder renamed or a symbolic link planted in a path after the folder was
// opened cannot redirect what a save creates, replaces or writes. Move-only; closed on
// destruction.
//
// Windows has no *at calls: there the handle is held without FILE_SHARE_DELETE, so the
// folder cannot be renamed or removed while a save works in it, and names are joined to
// its path. A file made by OpenAt(Replace) takes the folder's permissions there, and Sync
// has nothing to do (NTFS journals its folders itself).
//
// Errors: Open throws std::system_error with errno and the folder's path; the *At calls
// return false (or a handle that is not open) with errno set, for callers that choose a
// fallback.

#include "TFileHandle.h"

#include <string>

class TDirHandle {
public:
    TDirHandle() = default;
    // Follows symbolic links in `path` itself: it is the folder the user's path names.
    static TDirHandle Open(const std::string &path);
    ~TDirHandle();
    TDirHandle(TDirHandle &&other) noexcept;
    TDirHandle &operator=(TDirHandle &&other) noexcept;
    TDirHandle(const TDirHandle &) = delete;
    TDirHandle &operator=(const TDirHandle &) = delete;

    TNativeFile Fd() const { return FFd; }
    const std::string &Path() const { return FPath; }
    std::string PathOf(const std::string &name) const;

    // Atomically gives `from` the name `to`, replacing a file (or link) of that name.
    bool RenameAt(const std::string &from, const std::string &to) const;
    // A second name for the file `from`; fails with EEXIST when `to` exists.
    bool LinkAt(const std::string &from, const std::string &to) const;
    bool UnlinkAt(const std::string &name) const;
    enum class TAccess {
        Read,      // an existing file, read-only
        ReadWrite, // an existing file, to write in place
        Replace,   // created or emptied, private to this user (0600): a journal
    };
    // Opens the entry without following a final symbolic link and without blocking on a
    // FIFO; a handle that is not open, with errno set, on failure. The handle's path is
    // PathOf(name).
    TFileHandle OpenAt(const std::string &name, TAccess access) const;
    // Makes the folder's entries durable (after a rename); best effort.
    void Sync() const;

private:
    TNativeFile FFd = kNoFile;
    std::string FPath;
};
