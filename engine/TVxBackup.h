#pragma once
// Numbered backup generations beside a saved file: image.bin -> image.001.bin ... The
// oldest generation is 1, the newest the highest number in use. Backups are made by renaming
// the previous file, never by copying it.

#include <cstdint>
#include <string>

class TVxBackup {
public:
    // F with ".NNN" (at least three digits) put before its extension; the extension starts
    // at the last '.' after the last '/', and a name without one gets the suffix appended.
    static std::string BackupFileName(const std::string &fileName, int32_t n);
    // Renames fileName into the first free generation, or rotates when all `count` exist
    // (1 is deleted, 2..count move down, the file becomes `count`). True when a backup was
    // made or none was needed (count <= 0, no such file); false when a rename or delete failed.
    static bool MakeBackup(const std::string &fileName, int32_t count);
};
