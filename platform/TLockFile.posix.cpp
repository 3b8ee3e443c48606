#include "TLockFile.h"

#include "TDirHandle.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {
int64_t NowMs()
{
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

void SleepMs(int ms)
{
    timespec ts{ms / 1000, long(ms % 1000) * 1000000};
    while (::nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
}

[[noreturn]] void Fail(int err, const TDirHandle &dir, const std::string &name)
{
    throw std::system_error(err, std::generic_category(), dir.PathOf(name));
}

// Non-blocking open, so that a FIFO planted under the name cannot stall us; another user's
// lock file may be open to us for reading only, which is all flock needs.
int OpenLock(int dirFd, const std::string &name, mode_t mode)
{
    const int flags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
    int fd = ::openat(dirFd, name.c_str(), O_RDWR | O_CREAT | flags, mode);
    if (fd < 0 && errno == EACCES)
        fd = ::openat(dirFd, name.c_str(), O_RDONLY | flags);
    return fd;
}
} // namespace

TLockFile TLockFile::Acquire(const TDirHandle &dir, const std::string &name, mode_t mode, int waitMs)
{
    const int64_t deadline = NowMs() + waitMs;
    int pause = 1;
    for (;;) {
        const int fd = OpenLock(dir.Fd(), name, mode);
        if (fd < 0)
            Fail(errno, dir, name);
        struct stat mine {};
        if (::fstat(fd, &mine) != 0 || !S_ISREG(mine.st_mode)) {
            const int err = S_ISREG(mine.st_mode) ? errno : EINVAL;
            ::close(fd);
            Fail(err, dir, name);
        }
        while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int err = errno;
            if (err == EINTR)
                continue;
            if (err == ENOLCK || err == EOPNOTSUPP) {
                ::unlinkat(dir.Fd(), name.c_str(), 0);
                ::close(fd);
                return TLockFile();
            }
            if (err != EWOULDBLOCK || NowMs() >= deadline) {
                ::close(fd);
                Fail(err == EWOULDBLOCK ? ETIMEDOUT : err, dir, name);
            }
            SleepMs(pause);
            pause = pause < 16 ? pause * 2 : pause;
        }
        // Ours only if the name still leads to the file we locked: the holder before us
        // removed it before letting go, and a newcomer may have created another.
        struct stat named {};
        if (::fstatat(dir.Fd(), name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            named.st_dev == mine.st_dev && named.st_ino == mine.st_ino) {
            TLockFile lock;
            lock.FFd = fd;
            lock.FDirFd = ::fcntl(dir.Fd(), F_DUPFD_CLOEXEC, 0);
            lock.FName = name;
            return lock;
        }
        ::close(fd);
        if (NowMs() >= deadline)
            Fail(ETIMEDOUT, dir, name);
    }
}

TLockFile::TLockFile(TLockFile &&other) noexcept
    : FFd(other.FFd), FDirFd(other.FDirFd), FName(std::move(other.FName))
{
    other.FFd = other.FDirFd = -1;
}

TLockFile &TLockFile::operator=(TLockFile &&other) noexcept
{
    if (this != &other) {
        Release();
        FFd = other.FFd;
        FDirFd = other.FDirFd;
        FName = std::move(other.FName);
        other.FFd = other.FDirFd = -1;
    }
    return *this;
}

void TLockFile::Release()
{
    if (FFd >= 0) {
        // Removed while still locked, so nobody can lock this file and take it for current.
        if (FDirFd >= 0)
            ::unlinkat(FDirFd, FName.c_str(), 0);
        ::close(FFd);
    }
    if (FDirFd >= 0)
        ::close(FDirFd);
    FFd = FDirFd = -1;
}
