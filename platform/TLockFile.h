#pragma once
// An exclusive advisory lock (flock) that running instances take around a read-modify-write
// of a shared file - the settings file - so that no instance writes from a copy that is
// already out of date.
//
// The lock lives on a small file of its own beside the shared one ("Hexcavat.ini.lock"),
// never on the shared file itself: that is replaced by a rename on every write, and a lock
// on the old inode would not stop a writer that opened the new one. The lock file exists
// only while someone holds it: the holder removes it before letting go, and whoever was
// waiting on the removed file sees that its name now leads elsewhere (or nowhere) and tries
// again, so there is never a second file that another instance could lock at the same time.
// A holder that dies leaves the file behind; the kernel drops the lock with the process, and
// the next holder removes the file.
//
// The wait is bounded: an instance that hangs while holding the lock (stopped in a debugger,
// on a dead network share) must not freeze the others. Where the file system has no locks
// at all (ENOLCK, EOPNOTSUPP), the caller goes ahead unlocked, as it did before locks.
//
// On Windows the lock is LockFileEx's, on the same kind of file; the holder removes the file
// through its own handle, so the name goes at once (POSIX semantics, Windows 10) or as soon
// as the last waiter lets go of it, and a newcomer waits for that like for a held lock.
//
// Errors: std::system_error with errno and the lock file's path; ETIMEDOUT when the wait ran
// out. The name is never followed through a symbolic link.

#include "TNativeFile.h"

#include <string>
#include <sys/types.h>

class TDirHandle;

class TLockFile {
public:
    // Takes the lock `name` in `dir`, creating the file with `mode` if needed; waits at most
    // `waitMs` milliseconds for another holder.
    static TLockFile Acquire(const TDirHandle &dir, const std::string &name, mode_t mode, int waitMs);

    TLockFile() = default;
    ~TLockFile() { Release(); }
    TLockFile(TLockFile &&other) noexcept;
    TLockFile &operator=(TLockFile &&other) noexcept;
    TLockFile(const TLockFile &) = delete;
    TLockFile &operator=(const TLockFile &) = delete;

    bool IsHeld() const { return FFd != kNoFile; }
    // Removes the lock file and lets go; nothing when not held.
    void Release();

private:
    TNativeFile FFd = kNoFile;
    int FDirFd = -1; // our own duplicate, so the folder outlives a caller's TDirHandle (POSIX)
    std::string FName;
};
