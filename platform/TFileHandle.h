#pragma once
// One open file (a descriptor, a HANDLE on Windows), closed on destruction. Move-only.
// Paths are UTF-8 on every system; the Windows implementation opens them as UTF-16.
//
// Positions and lengths are 64-bit here even though documents are limited to 2^31 - 1
// bytes: the layer below the document does not need to know that limit.
//
// Errors: every call that fails throws std::system_error carrying errno and the path (on
// Windows the system's error is translated to the errno value that means the same).
// WriteAt writes everything or throws; a short write is retried and never reported as success.
//
// On Windows every handle lets others read, write and delete the file, so that the document
// never looks locked to the user's other programs; OpenRead opens a folder too, so that Kind
// can say what it is. Reserve sets the allocation size, Discard frees space only in a sparse
// file, and Sync also stamps the last write time, which NTFS would otherwise stamp when the
// handle closes, after the caller has taken the file's identity.

#include "TNativeFile.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <sys/types.h>

class TFileHandle {
public:
    TFileHandle() = default;
    TFileHandle(TNativeFile fd, std::string path) : FFd(fd), FPath(std::move(path)) {}
    ~TFileHandle();
    TFileHandle(TFileHandle &&other) noexcept;
    TFileHandle &operator=(TFileHandle &&other) noexcept;
    TFileHandle(const TFileHandle &) = delete;
    TFileHandle &operator=(const TFileHandle &) = delete;

    // Opens an existing file read-only. Does not block on FIFOs (the caller checks the type).
    static TFileHandle OpenRead(const std::string &path);
    // Creates a new file that must not exist yet (no symlink following). Throws EEXIST if it does.
    static TFileHandle CreateNew(const std::string &path, mode_t mode);

    bool IsOpen() const { return FFd != kNoFile; }
    TNativeFile Fd() const { return FFd; }
    const std::string &Path() const { return FPath; }
    // The name error messages give the file; for a file without a name (an unnamed
    // temporary file) the caller chooses what the user should read.
    void SetPath(const std::string &path) { FPath = path; }
    void Close();

    int64_t Length() const;
    enum class TKind { Regular, Directory, Other };
    // What the open name is: a document must be a regular file.
    TKind Kind() const;
    // Reads up to count bytes at pos; fewer only at the end of the file.
    size_t ReadAt(int64_t pos, void *buf, size_t count) const;
    // Reads exactly count bytes or throws (the file is shorter than the caller believes).
    void ReadExact(int64_t pos, void *buf, size_t count) const;
    // The whole file, read to its end rather than to the length seen at the start (a file
    // being written grows meanwhile); nothing when it holds more than maxBytes. For the small
    // files the user or other programs write (settings, character tables). Throws on errors.
    std::optional<std::string> ReadAll(size_t maxBytes) const;
    void WriteAt(int64_t pos, const void *buf, size_t count);
    void SetLength(int64_t length);
    // SetLength for clean-ups that have no one to tell: false instead of an exception.
    bool TrySetLength(int64_t length) noexcept;
    // Allocates disk space for [pos, pos + len) so that later writes cannot run out of space.
    // Silently does nothing where the file system cannot reserve.
    void Reserve(int64_t pos, int64_t len);
    // Hands the space of [pos, pos + len) back to the file system; the bytes read as zeros
    // afterwards and the length stays. Best effort, never throws (used when freeing).
    void Discard(int64_t pos, int64_t len) noexcept;
    void Sync();

    [[noreturn]] void Fail(const char *what) const;

private:
    TNativeFile FFd = kNoFile;
    std::string FPath;
};
