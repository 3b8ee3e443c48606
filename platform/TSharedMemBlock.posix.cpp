#include "TSharedMemBlock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {
[[noreturn]] void Fail(int err, const std::string &what) { throw std::system_error(err, std::generic_category(), what); }

bool Lock(int fd, int how)
{
    int rc;
    do
        rc = ::flock(fd, how);
    while (rc != 0 && errno == EINTR);
    return rc == 0;
}

// At least `size` bytes without ever shrinking: another opener may already have written.
bool Grow(int fd, size_t size)
{
    if (::fallocate(fd, 0, 0, static_cast<off_t>(size)) == 0)
        return true;
    if (errno != EOPNOTSUPP && errno != ENOSYS)
        return false;
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return false;
    return st.st_size >= static_cast<off_t>(size) || ::ftruncate(fd, static_cast<off_t>(size)) == 0;
}

// Unlinked by a closer between our shm_open and our lock: the name now means another block.
bool Orphaned(int fd)
{
    struct stat st;
    return ::fstat(fd, &st) != 0 || st.st_nlink == 0;
}
} // namespace

std::string TSharedMemBlock::SystemName(const std::string &name) { return "/" + name + "-" + std::to_string(::geteuid()); }

TSharedMemBlock TSharedMemBlock::Open(const std::string &name, size_t size)
{
    const std::string sys = SystemName(name);
    if (size == 0)
        Fail(EINVAL, sys);
    for (;;) {
        const int fd = ::shm_open(sys.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0)
            Fail(errno, sys);
        // Until it is ours, a failure only closes: unlinking is for holders.
        auto fail = [&](int err, const std::string &what) {
            ::close(fd);
            Fail(err, what);
        };
        struct stat st;
        if (::fstat(fd, &st) != 0)
            fail(errno, sys);
        if (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid() || (st.st_mode & 077) != 0)
            fail(EACCES, sys + ": held by another user or open to others");

        if (Lock(fd, LOCK_EX | LOCK_NB)) {
            // Nobody holds it: a new block, or what instances that all crashed left behind.
            if (!Orphaned(fd) && (::ftruncate(fd, 0) != 0 || !Grow(fd, size)))
                fail(errno, sys);
            // Not atomic: a closer slipping in between is caught by the check below.
            if (!Lock(fd, LOCK_SH))
                fail(errno, sys);
        } else if (errno != EWOULDBLOCK || !Lock(fd, LOCK_SH)) {
            fail(errno, sys);
        }
        if (Orphaned(fd)) {
            ::close(fd);
            continue;
        }
        if (!Grow(fd, size))
            fail(errno, sys);
        void *view = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        if (view == MAP_FAILED)
            fail(errno, sys);
        TSharedMemBlock block;
        block.FFile = fd;
        block.FView = view;
        block.FSize = size;
        block.FSystemName = sys;
        return block;
    }
}

TSharedMemBlock::~TSharedMemBlock() { Close(); }

void TSharedMemBlock::Close() noexcept
{
    if (FView)
        ::munmap(FView, FSize);
    FView = nullptr;
    if (FFile >= 0) {
        // The exclusive lock at once means no other holder; a failed attempt only gives up
        // the shared lock this holder is about to drop anyway. A block already unlinked by
        // hand must not take a newer block's name with it.
        if (::flock(FFile, LOCK_EX | LOCK_NB) == 0 && !Orphaned(FFile))
            ::shm_unlink(FSystemName.c_str());
        ::close(FFile);
    }
    FFile = kNoFile;
    FSize = 0;
}

TSharedMemBlock::TSharedMemBlock(TSharedMemBlock &&other) noexcept
    : FFile(other.FFile), FView(other.FView), FSize(other.FSize), FSystemName(std::move(other.FSystemName))
{
    other.FFile = kNoFile;
    other.FView = nullptr;
    other.FSize = 0;
}

TSharedMemBlock &TSharedMemBlock::operator=(TSharedMemBlock &&other) noexcept
{
    if (this != &other) {
        Close();
        FFile = other.FFile;
        FView = other.FView;
        FSize = other.FSize;
        FSystemName = std::move(other.FSystemName);
        other.FFile = kNoFile;
        other.FView = nullptr;
        other.FSize = 0;
    }
    return *this;
}
