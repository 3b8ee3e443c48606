#include "TFileHandle.h"
#include "TFileFaults.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

TFileHandle::~TFileHandle() { Close(); }

TFileHandle::TFileHandle(TFileHandle &&other) noexcept : FFd(other.FFd), FPath(std::move(other.FPath))
{
    other.FFd = kNoFile;
}

TFileHandle &TFileHandle::operator=(TFileHandle &&other) noexcept
{
    if (this != &other) {
        Close();
        FFd = other.FFd;
        FPath = std::move(other.FPath);
        other.FFd = kNoFile;
    }
    return *this;
}

void TFileHandle::Close()
{
    if (FFd >= 0)
        ::close(FFd);
    FFd = -1;
}

void TFileHandle::Fail(const char *what) const
{
    throw std::system_error(errno, std::generic_category(), FPath.empty() ? std::string(what) : FPath);
}

TFileHandle TFileHandle::OpenRead(const std::string &path)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        throw std::system_error(errno, std::generic_category(), path);
    // Non-blocking was only for the open itself; regular reads never block anyway.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return TFileHandle(fd, path);
}

TFileHandle TFileHandle::CreateNew(const std::string &path, mode_t mode)
{
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd < 0)
        throw std::system_error(errno, std::generic_category(), path);
    return TFileHandle(fd, path);
}

int64_t TFileHandle::Length() const
{
    off_t end = ::lseek(FFd, 0, SEEK_END);
    if (end < 0)
        Fail("lseek");
    return end;
}

TFileHandle::TKind TFileHandle::Kind() const
{
    struct stat st;
    if (::fstat(FFd, &st) != 0)
        Fail("fstat");
    return S_ISREG(st.st_mode) ? TKind::Regular : S_ISDIR(st.st_mode) ? TKind::Directory : TKind::Other;
}

size_t TFileHandle::ReadAt(int64_t pos, void *buf, size_t count) const
{
    TFileFaults::BeforeRead();
    size_t done = 0;
    auto *p = static_cast<char *>(buf);
    while (done < count) {
        ssize_t r = ::pread(FFd, p + done, count - done, pos + static_cast<int64_t>(done));
        if (r < 0) {
            if (errno == EINTR)
                continue;
            Fail("pread");
        }
        if (r == 0)
            break;
        done += static_cast<size_t>(r);
    }
    return done;
}

void TFileHandle::ReadExact(int64_t pos, void *buf, size_t count) const
{
    if (ReadAt(pos, buf, count) != count) {
        errno = EIO;
        Fail("short read");
    }
}

void TFileHandle::WriteAt(int64_t pos, const void *buf, size_t count)
{
    TFileFaults::BeforeWrite(FFd);
    size_t done = 0;
    auto *p = static_cast<const char *>(buf);
    while (done < count) {
        ssize_t r = ::pwrite(FFd, p + done, count - done, pos + static_cast<int64_t>(done));
        if (r < 0) {
            if (errno == EINTR)
                continue;
            Fail("pwrite");
        }
        if (r == 0) {
            errno = ENOSPC;
            Fail("pwrite");
        }
        done += static_cast<size_t>(r);
    }
}

void TFileHandle::SetLength(int64_t length)
{
    TFileFaults::BeforeWrite(FFd);
    if (::ftruncate(FFd, length) != 0)
        Fail("ftruncate");
}

bool TFileHandle::TrySetLength(int64_t length) noexcept { return ::ftruncate(FFd, length) == 0; }

void TFileHandle::Reserve(int64_t pos, int64_t len)
{
    if (len <= 0)
        return;
    TFileFaults::BeforeWrite(FFd);
    if (::fallocate(FFd, 0, pos, len) != 0) {
        if (errno == EOPNOTSUPP || errno == ENOSYS || errno == EINVAL)
            return;
        Fail("fallocate");
    }
}

void TFileHandle::Discard(int64_t pos, int64_t len) noexcept
{
    if (len > 0 && FFd >= 0)
        (void)::fallocate(FFd, FALLOC_FL_PUNCH_HOLE | FALLOC_FL_KEEP_SIZE, pos, len);
}

void TFileHandle::Sync()
{
    TFileFaults::BeforeWrite(FFd);
    if (::fsync(FFd) != 0)
        Fail("fsync");
}
