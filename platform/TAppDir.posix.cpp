#include "TAppDir.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::string ExecutableDir()
{
    std::string buf(4096, '\0');
    ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
    if (n <= 0 || size_t(n) >= buf.size())
        return std::string();
    buf.resize(size_t(n));
    size_t slash = buf.rfind('/');
    return slash == std::string::npos ? std::string() : buf.substr(0, slash + 1);
}

// Where packages and administrators install programs (/usr/local lies under /usr). Root may
// write there, but a settings file beside such a program belongs to no package and is shared
// by every user, so an installed program keeps its settings in the user's folder instead.
bool InSystemFolder(const std::string &dir)
{
    for (const std::string root : {"/usr", "/opt"})
        if (dir.compare(0, root.size(), root) == 0 && (dir.size() == root.size() || dir[root.size()] == '/'))
            return true;
    return false;
}

// mkdir -p, each new level private to the user.
void MakeDirs(const std::string &dir)
{
    for (size_t i = 1; i <= dir.size(); ++i)
        if (i == dir.size() || dir[i] == '/')
            ::mkdir(dir.substr(0, i).c_str(), 0700);
}
} // namespace

std::string TAppDir::Choose(const std::string &exeDir, bool exeDirWritable, const char *xdgConfigHome,
                            const char *home)
{
    if (!exeDir.empty() && exeDirWritable && !InSystemFolder(exeDir))
        return WithSlash(exeDir);
    // The XDG rules ignore a relative value.
    if (xdgConfigHome && xdgConfigHome[0] == '/')
        return WithSlash(xdgConfigHome) + "hexcavator/";
    std::string h = home && home[0] ? home : "";
    if (h.empty()) {
        if (const passwd *pw = ::getpwuid(::getuid()))
            h = pw->pw_dir ? pw->pw_dir : "";
    }
    return WithSlash(h) + ".config/hexcavator/";
}

std::string TAppDir::SystemAppDir()
{
    const std::string exe = ExecutableDir();
    const bool writable = !exe.empty() && ::access(exe.c_str(), W_OK) == 0;
    std::string dir = Choose(exe, writable, std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
    if (dir != exe)
        MakeDirs(dir);
    return dir;
}
