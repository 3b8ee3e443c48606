#include "TVxBackup.h"

#include "TDirHandle.h"
#include "TFileIdentity.h"
#include "TFilePaths.h"

#include <cstdio>

namespace {
bool Exists(const TDirHandle &dir, const std::string &name) { return TFileIdentity::OfEntry(dir, name).Exists; }
} // namespace

std::string TVxBackup::BackupFileName(const std::string &fileName, int32_t n)
{
    char num[16];
    std::snprintf(num, sizeof num, ".%03d", static_cast<int>(n));
    // The extension of the file's own name, never a dot of a folder's: the platform knows
    // which characters separate names.
    const size_t nameAt = fileName.size() - TFilePaths::BaseName(fileName).size();
    const size_t dot = fileName.find_last_of('.');
    if (dot == std::string::npos || dot < nameAt)
        return fileName + num;
    return fileName.substr(0, dot) + num + fileName.substr(dot);
}

bool TVxBackup::MakeBackup(const TDirHandle &dir, const std::string &name, int32_t count,
                           const std::function<bool(const std::string &generation)> &makeNewest)
{
    if (count <= 0 || !Exists(dir, name))
        return true;
    for (int32_t n = 1; n <= count; ++n) {
        std::string gen = BackupFileName(name, n);
        if (!Exists(dir, gen))
            return makeNewest(gen);
    }
    if (!dir.UnlinkAt(BackupFileName(name, 1)))
        return false;
    for (int32_t n = 2; n <= count; ++n)
        if (!dir.RenameAt(BackupFileName(name, n), BackupFileName(name, n - 1)))
            return false;
    return makeNewest(BackupFileName(name, count));
}
