#include "TVxBackup.h"

#include "TFilePaths.h"

#include <cstdio>
#include <unistd.h>

namespace {
bool Exists(const std::string &path) { return TFilePaths::Exists(path); }
bool Rename(const std::string &from, const std::string &to) { return ::rename(from.c_str(), to.c_str()) == 0; }
} // namespace

std::string TVxBackup::BackupFileName(const std::string &fileName, int32_t n)
{
    char num[16];
    std::snprintf(num, sizeof num, ".%03d", static_cast<int>(n));
    size_t slash = fileName.find_last_of('/');
    size_t dot = fileName.find_last_of('.');
    bool hasExt = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    if (!hasExt)
        return fileName + num;
    return fileName.substr(0, dot) + num + fileName.substr(dot);
}

bool TVxBackup::MakeBackup(const std::string &fileName, int32_t count)
{
    if (count <= 0 || !Exists(fileName))
        return true;
    for (int32_t n = 1; n <= count; ++n) {
        std::string gen = BackupFileName(fileName, n);
        if (!Exists(gen))
            return Rename(fileName, gen);
    }
    if (::unlink(BackupFileName(fileName, 1).c_str()) != 0)
        return false;
    for (int32_t n = 2; n <= count; ++n)
        if (!Rename(BackupFileName(fileName, n), BackupFileName(fileName, n - 1)))
            return false;
    return Rename(fileName, BackupFileName(fileName, count));
}
