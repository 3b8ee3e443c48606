#pragma once
// Temporary files: the working copy, scratch files, and the new file a save writes before
// renaming it over its target.
//
// Names are eight upper-case hexadecimal digits of the millisecond tick count plus ".tmp".
// Creation is exclusive (O_EXCL, mode 0600, no symlink following): a name that another
// process took in the meantime, or a planted symlink, is never opened; the next tick's name is
// tried instead. So two temporary files never share a name and no existing file is truncated.
//
// A TTempFile deletes its file when destroyed unless Keep() was called.

#include "TFileHandle.h"

#include <cstdint>
#include <string>

class TTempFile {
public:
    // The system's temporary folder: $TMPDIR when set and not blank, else /tmp. No trailing '/'.
    static std::string TempDir();
    // Milliseconds of the monotonic clock, truncated to 32 bits.
    static uint32_t TickCount();
    // A path in `dir` (default: TempDir()) that no file occupies at the moment of the call.
    static std::string MakeTempFileName(const std::string &dir = std::string());
    // Creates `name` exclusively; throws std::system_error (EEXIST when it exists).
    static TFileHandle CreateTempFile(const std::string &name);

    // Creates a fresh temporary file in `dir` (default: TempDir()), retrying on EEXIST.
    static TTempFile Create(const std::string &dir = std::string());

    TTempFile() = default;
    ~TTempFile();
    TTempFile(TTempFile &&other) noexcept;
    TTempFile &operator=(TTempFile &&other) noexcept;

    TFileHandle &Handle() { return FHandle; }
    const TFileHandle &Handle() const { return FHandle; }
    const std::string &Name() const { return FHandle.Path(); }
    // The file outlives this object (it was renamed, or its owner deletes it).
    void Keep() { FKeep = true; }
    // Closes and deletes the file now.
    void Remove();

private:
    TFileHandle FHandle;
    bool FKeep = false;
};
