#include "TPrivateFolder.h"

#include "TTempFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {
[[noreturn]] void Refuse(int err, const std::string &path, const std::string &why)
{
    throw std::system_error(err, std::generic_category(), path + ": " + why);
}

bool IsUsableBase(const char *dir)
{
    struct stat st;
    return dir && dir[0] == '/' && ::stat(dir, &st) == 0 && S_ISDIR(st.st_mode);
}

bool EndsWith(const std::string &s, const std::string &suffix)
{
    return s.size() > suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}
} // namespace

std::string TPrivateFolder::Locate(const std::string &leaf)
{
    const char *runtime = std::getenv("XDG_RUNTIME_DIR");
    if (IsUsableBase(runtime)) {
        std::string base = runtime;
        while (base.size() > 1 && base.back() == '/')
            base.pop_back();
        return (base == "/" ? std::string() : base) + "/" + leaf;
    }
    return TTempFile::TempDir() + "/" + leaf + "-" + std::to_string(::geteuid());
}

void TPrivateFolder::Ensure(const std::string &path)
{
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        Refuse(errno, path, "cannot create the folder");
    // The folder itself, not what a planted link would lead to.
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        Refuse(err == ELOOP ? ENOTDIR : err, path, "not a folder");
    }
    struct stat st;
    const int rc = ::fstat(fd, &st);
    const int err = errno;
    ::close(fd);
    if (rc != 0)
        Refuse(err, path, "cannot examine the folder");
    if (st.st_uid != ::geteuid())
        Refuse(EACCES, path, "belongs to user " + std::to_string(st.st_uid) + ", not to this user");
    if ((st.st_mode & 077) != 0) {
        char mode[8];
        std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(st.st_mode & 07777));
        Refuse(EACCES, path, std::string("open to group or others (mode ") + mode + ")");
    }
}

std::vector<TPrivateFolder::TEntry> TPrivateFolder::Sockets(const std::string &path, const std::string &suffix)
{
    std::vector<TEntry> out;
    DIR *dir = ::opendir(path.c_str());
    if (!dir)
        return out;
    while (const dirent *e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (!EndsWith(name, suffix))
            continue;
        struct stat st;
        if (::fstatat(::dirfd(dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISSOCK(st.st_mode))
            continue;
        out.push_back({name, int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec});
    }
    ::closedir(dir);
    return out;
}

bool TPrivateFolder::SetStamp(const std::string &path, int64_t stampNs)
{
    const timespec times[2] = {{0, UTIME_OMIT}, {time_t(stampNs / 1000000000), long(stampNs % 1000000000)}};
    return ::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) == 0;
}

bool TPrivateFolder::Remove(const std::string &path) { return ::unlink(path.c_str()) == 0; }

int64_t TPrivateFolder::NowNs()
{
    timespec ts;
    ::clock_gettime(CLOCK_REALTIME, &ts);
    return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

// The socket is the entry: listening makes it and closing the server removes it.
bool TPrivateFolder::Announce(const std::string &) { return true; }

void TPrivateFolder::Withdraw(const std::string &) {}

bool TPrivateFolder::EndpointsOutsideFolder() { return false; }
