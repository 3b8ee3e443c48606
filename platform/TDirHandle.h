#pragma once
// An open folder. Names inside it are resolved against this handle (openat, renameat,
// linkat), so a folder renamed or a symbolic link planted in a path after the folder was
// opened cannot redirect what a save creates, replaces or writes. Move-only; closed on
// destruction.
//
// Errors: Open throws std::system_error with errno and the folder's path; the *At calls
// return false with errno set, for callers that choose a fallback.

#include <string>
#include <sys/types.h>

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

    int Fd() const { return FFd; }
    const std::string &Path() const { return FPath; }
    std::string PathOf(const std::string &name) const;

    // Atomically gives `from` the name `to`, replacing a file (or link) of that name.
    bool RenameAt(const std::string &from, const std::string &to) const;
    // A second name for the file `from`; fails with EEXIST when `to` exists.
    bool LinkAt(const std::string &from, const std::string &to) const;
    bool UnlinkAt(const std::string &name) const;
    // Opens an existing entry without following a final symbolic link; -1 and errno on failure.
    int OpenAt(const std::string &name, int flags, mode_t mode = 0600) const;
    // Makes the folder's entries durable (after a rename); best effort.
    void Sync() const;

private:
    int FFd = -1;
    std::string FPath;
};
