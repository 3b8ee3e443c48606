#include "TDirHandle.h"
#include "TFileFaults.h"

#include <cerrno>
#include <fcntl.h>
#include <stdio.h>
#include <system_error>
#include <unistd.h>

namespace {
// Renames, links, deletions and the folder's flush are steps of a save like the writes of
// its files: the fault seam sees each, and an injected failure comes back the way the
// kernel's would, as false with errno set.
bool Proceed(int fd)
{
    try {
        TFileFaults::BeforeWrite(fd);
    } catch (const std::system_error &e) {
        errno = e.code().value();
        return false;
    }
    return true;
}
} // namespace

TDirHandle TDirHandle::Open(const std::string &path)
{
    TDirHandle d;
    d.FFd = ::open(path.empty() ? "." : path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (d.FFd < 0)
        throw std::system_error(errno, std::generic_category(), path);
    d.FPath = path;
    return d;
}

TDirHandle::~TDirHandle()
{
    if (FFd >= 0)
        ::close(FFd);
}

TDirHandle::TDirHandle(TDirHandle &&other) noexcept : FFd(other.FFd), FPath(std::move(other.FPath))
{
    other.FFd = -1;
}

TDirHandle &TDirHandle::operator=(TDirHandle &&other) noexcept
{
    if (this != &other) {
        if (FFd >= 0)
            ::close(FFd);
        FFd = other.FFd;
        FPath = std::move(other.FPath);
        other.FFd = -1;
    }
    return *this;
}

std::string TDirHandle::PathOf(const std::string &name) const
{
    if (FPath.empty() || FPath == ".")
        return name;
    return FPath.back() == '/' ? FPath + name : FPath + "/" + name;
}

bool TDirHandle::RenameAt(const std::string &from, const std::string &to) const
{
    return Proceed(FFd) && ::renameat(FFd, from.c_str(), FFd, to.c_str()) == 0;
}

bool TDirHandle::LinkAt(const std::string &from, const std::string &to) const
{
    return Proceed(FFd) && ::linkat(FFd, from.c_str(), FFd, to.c_str(), 0) == 0;
}

bool TDirHandle::UnlinkAt(const std::string &name) const
{
    return Proceed(FFd) && ::unlinkat(FFd, name.c_str(), 0) == 0;
}

TFileHandle TDirHandle::OpenAt(const std::string &name, TAccess access) const
{
    const int flags = access == TAccess::Read        ? O_RDONLY | O_NONBLOCK
                      : access == TAccess::ReadWrite ? O_RDWR | O_NONBLOCK
                                                     : O_RDWR | O_CREAT | O_TRUNC;
    const int fd = ::openat(FFd, name.c_str(), flags | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return TFileHandle();
    // Non-blocking was only for the open itself (a FIFO planted under the name).
    if (flags & O_NONBLOCK)
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return TFileHandle(fd, PathOf(name));
}

void TDirHandle::Sync() const
{
    if (FFd >= 0 && Proceed(FFd))
        ::fsync(FFd);
}
