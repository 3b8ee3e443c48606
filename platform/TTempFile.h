#pragma once
// Private temporary files: the working copy, scratch files, and the new file a save writes
// before it takes the target's name.
//
// Where the file system offers it, a temporary file has no name at all (O_TMPFILE): nobody
// else can open it, and the system frees it when the process ends, however it ends, so a
// crash leaves nothing behind. Elsewhere the file gets an unpredictable name (eight random
// upper-case hexadecimal digits and ".tmp"), created exclusively with mode 0600 and never
// through a symbolic link; in the temporary folder such files live in the private folder
// "hexcavator-<uid>" (mode 0700) and stay locked while open, so that RemoveStale can tell
// the leftovers of a dead instance from the files of a running one.
//
// Windows has no unnamed files: there the working copy and scratch files are created in the
// private folder "hexcavator-<the user's SID>" (closed to other users) with
// FILE_FLAG_DELETE_ON_CLOSE, so the system deletes them however the process ends, and
// RemoveStale tells a dead instance's file (after a power cut) by its opening without
// sharing deletion. A save's new file (CreateIn) is marked for deletion until LinkAs takes
// the mark back and puts it in place with ReplaceFileW, which hands on the target's
// permissions, attributes, alternate streams and creation time. The temporary folder is
// GetTempPathW's, the fallback the Windows folder's "Temp".
//
// A TTempFile deletes its file (if it has a name) when destroyed unless Keep() was called.
// Errors: std::system_error with errno; the path in the message is the folder's.

#include "TFileHandle.h"

#include <string>
#include <sys/types.h>

class TDirHandle;

class TTempFile {
public:
    // $TMPDIR when it names a folder we may write in, else the fallback folder (/tmp).
    // No trailing '/'.
    static std::string TempDir();
    // Eight random upper-case hexadecimal digits and ".tmp".
    static std::string RandomName();

    // A new empty file in the temporary folder (the working copy, scratch files).
    static TTempFile Create();
    // A new empty file with `mode` inside an open folder: a save's new file. Unnamed until
    // LinkAs gives it its final name.
    static TTempFile CreateIn(const TDirHandle &dir, mode_t mode);
    // A named file in `dir`, created exclusively under a random name (benchmarks, tests).
    static TTempFile CreateNamed(const std::string &dir);
    // A named file in this user's private folder that is meant to survive a crash: the
    // previous contents of a file about to be overwritten in place. Its name starts with
    // `label` and ends in ".orig"; RemoveStale leaves it alone.
    static TTempFile CreateKeepsake(const std::string &label);
    // Deletes the named temporary files (".tmp") of instances that are no longer running;
    // returns how many. Called once at start-up.
    static size_t RemoveStale();

    // Test seams: forbid unnamed files (as on a file system without them), and move the
    // fallback folder ("" restores /tmp).
    static void SetUnnamedAllowed(bool allowed);
    static void SetFallbackDir(const std::string &dir);
    // The folder that holds this user's named temporary files.
    static std::string PrivateDir();

    TTempFile() = default;
    // Takes over an open file; `name` is empty for an unnamed one.
    static TTempFile Adopt(TFileHandle &&handle, const std::string &name);
    ~TTempFile();
    TTempFile(TTempFile &&other) noexcept;
    TTempFile &operator=(TTempFile &&other) noexcept;

    TFileHandle &Handle() { return FHandle; }
    const TFileHandle &Handle() const { return FHandle; }
    bool IsOpen() const { return FHandle.IsOpen(); }
    // Empty while the file has no name.
    const std::string &Name() const { return FName; }
    // Gives the file the name `name` in `dir`, atomically replacing whatever had that name
    // (a file or a symbolic link, which is replaced, not followed). The file is kept from
    // then on. Throws when it cannot; the file is then still a temporary one.
    void LinkAs(const TDirHandle &dir, const std::string &name);
    // The name an unnamed file has in its folder for the moment between being linked there
    // and replacing `name` (LinkAs): a crash in that moment leaves it behind, for the next
    // load of `name` to remove.
    static std::string PendingName(const std::string &name);
    // The file outlives this object (its owner deletes it, or it was renamed).
    void Keep() { FKeep = true; }
    // Closes and, if it has a name, deletes the file now.
    void Remove();

private:
    TFileHandle FHandle;
    std::string FName;
    bool FKeep = false;
};
