#include "TAppDir.h"

namespace {
std::string &Override()
{
    static std::string dir;
    return dir;
}
} // namespace

std::string TAppDir::WithSlash(std::string dir)
{
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    return dir;
}

std::string TAppDir::GetAppDir()
{
    if (!Override().empty())
        return Override();
    return SystemAppDir();
}

std::string TAppDir::SettingsFileName() { return GetAppDir() + kSettingsFile; }

void TAppDir::SetOverride(const std::string &dir) { Override() = dir.empty() ? dir : WithSlash(dir); }
