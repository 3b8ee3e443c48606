#include "TFilePaths.h"

#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

bool TFilePaths::Exists(const std::string &path)
{
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

std::string TFilePaths::ResolveLinks(const std::string &path)
{
    std::string cur = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::vector<char> buf(PATH_MAX + 1);
        ssize_t n = ::readlink(cur.c_str(), buf.data(), buf.size() - 1);
        if (n < 0)
            return cur; // not a link, or missing: this is the file to write
        std::string target(buf.data(), static_cast<size_t>(n));
        cur = (target.empty() || target[0] == '/') ? target : DirName(cur) + "/" + target;
    }
    return cur;
}

mode_t TFilePaths::NewFileMode()
{
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

std::string TFilePaths::DirName(const std::string &path)
{
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string TFilePaths::BaseName(const std::string &path)
{
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
