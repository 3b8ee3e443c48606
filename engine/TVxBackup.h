#pragma once
// Numbered backup generations beside a saved file: image.bin -> image.001.bin ... The
// oldest generation is 1, the newest the highest number in use.

#include <cstdint>
#include <functional>
#include <string>

class TDirHandle;

class TVxBackup {
public:
    // F with ".NNN" (at least three digits) put before its extension; the extension starts
    // at the last '.' after the last '/', and a name without one gets the suffix appended.
    static std::string BackupFileName(const std::string &fileName, int32_t n);
    // Frees the slot of the newest generation of `name` inside `dir` and has makeNewest
    // fill it: the first free generation, or, when all `count` exist, after a rotation
    // (1 is deleted, 2..count move down, the newest becomes `count`). True when a backup was
    // made or none was needed (count <= 0, no such file); false when a rename, a delete or
    // makeNewest failed.
    //
    // makeNewest decides how the previous file becomes a generation: renamed (the file is
    // about to be recreated), linked (a new file is about to replace it, so the name never
    // goes missing), or copied (the file is about to be overwritten in place).
    static bool MakeBackup(const TDirHandle &dir, const std::string &name, int32_t count,
                           const std::function<bool(const std::string &generation)> &makeNewest);
};
