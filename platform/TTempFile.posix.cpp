#include "TTempFile.h"

#include "TDirHandle.h"
#include "TFileFaults.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {
bool gUnnamedAllowed = true;
std::string gFallbackDir = "/tmp";

std::string Trim(const std::string &s)
{
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos)
        return std::string();
    size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

bool WritableFolder(const std::string &dir)
{
    struct stat st;
    return ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && ::access(dir.c_str(), W_OK | X_OK) == 0;
}

// The kernel answers these when the file system (or an old kernel) has no unnamed files.
bool NoUnnamedFiles(int err) { return err == EOPNOTSUPP || err == EISDIR || err == EINVAL; }

// The private folder, when it is ours alone: a real folder of this user, closed to others.
// Anything else (a squatter's folder, a link) is not used.
bool PrivateDirUsable(const std::string &dir)
{
    if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat st;
    return ::lstat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & 077) == 0;
}

[[noreturn]] void FailIn(const std::string &dir) { throw std::system_error(errno, std::generic_category(), dir); }

// Exclusive create under fresh random names (RandomName, or what `makeName` makes of it); a
// taken name is just skipped.
int CreateRandomIn(int dirFd, const std::string &dirPath, mode_t mode, std::string &name,
                   std::string (*makeName)(const std::string &random, const std::string &label) = nullptr,
                   const std::string &label = std::string())
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = makeName ? makeName(TTempFile::RandomName(), label) : TTempFile::RandomName();
        int fd = ::openat(dirFd, name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0)
            return fd;
        if (errno != EEXIST)
            FailIn(dirPath);
    }
    errno = EEXIST;
    FailIn(dirPath);
}
// Gives the unnamed file fd the name `name` in dirFd, which must be free (EEXIST otherwise).
bool LinkUnnamed(int fd, int dirFd, const std::string &name)
{
    const std::string proc = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, proc.c_str(), dirFd, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return true;
    // Without /proc mounted; needs CAP_DAC_READ_SEARCH.
    return errno == ENOENT && ::linkat(fd, "", dirFd, name.c_str(), AT_EMPTY_PATH) == 0;
}
} // namespace

std::string TTempFile::TempDir()
{
    const char *env = std::getenv("TMPDIR");
    std::string dir = Trim(env ? env : "");
    while (dir.size() > 1 && dir.back() == '/')
        dir.pop_back();
    if (dir.empty() || !WritableFolder(dir))
        dir = gFallbackDir;
    return dir;
}

std::string TTempFile::RandomName()
{
    uint32_t r = 0;
    if (::getrandom(&r, sizeof r, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof r)) {
        // No entropy yet (very early boot): still unlikely to guess, and creation is exclusive.
        timespec ts;
        ::clock_gettime(CLOCK_REALTIME, &ts);
        r = static_cast<uint32_t>(ts.tv_nsec) ^ (static_cast<uint32_t>(::getpid()) << 16) ^ r;
    }
    char name[16];
    std::snprintf(name, sizeof name, "%08X.tmp", static_cast<unsigned>(r));
    return name;
}

std::string TTempFile::PrivateDir() { return TempDir() + "/hexcavator-" + std::to_string(::geteuid()); }


void TTempFile::SetUnnamedAllowed(bool allowed) { gUnnamedAllowed = allowed; }
void TTempFile::SetFallbackDir(const std::string &dir) { gFallbackDir = dir.empty() ? "/tmp" : dir; }

namespace {
TTempFile CreateInFolder(const std::string &dir);
} // namespace

TTempFile TTempFile::Create()
{
    const std::string dir = TempDir();
    try {
        return CreateInFolder(dir);
    } catch (const std::system_error &) {
        // $TMPDIR looked usable but took no file: the fallback folder may.
        if (dir == gFallbackDir)
            throw;
        return CreateInFolder(gFallbackDir);
    }
}

namespace {
TTempFile CreateInFolder(const std::string &dir)
{
    if (gUnnamedAllowed) {
        int fd = ::open(dir.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
        if (fd >= 0)
            return TTempFile::Adopt(TFileHandle(fd, std::string()), std::string());
        if (!NoUnnamedFiles(errno))
            FailIn(dir);
    }
    const std::string priv = dir + "/hexcavator-" + std::to_string(::geteuid());
    const std::string home = PrivateDirUsable(priv) ? priv : dir;
    TDirHandle folder = TDirHandle::Open(home);
    std::string name;
    int fd = CreateRandomIn(folder.Fd(), home, 0600, name);
    // Held until the file is closed: a free lock marks the file of a dead instance.
    ::flock(fd, LOCK_EX | LOCK_NB);
    return TTempFile::Adopt(TFileHandle(fd, std::string()), folder.PathOf(name));
}
} // namespace

TTempFile TTempFile::Adopt(TFileHandle &&handle, const std::string &name)
{
    TTempFile t;
    t.FHandle = std::move(handle);
    t.FName = name;
    return t;
}

TTempFile TTempFile::CreateIn(const TDirHandle &dir, mode_t mode)
{
    TTempFile t;
    if (gUnnamedAllowed) {
        int fd = ::openat(dir.Fd(), ".", O_TMPFILE | O_RDWR | O_CLOEXEC, mode);
        if (fd >= 0) {
            t.FHandle = TFileHandle(fd, std::string());
            return t;
        }
        if (!NoUnnamedFiles(errno))
            FailIn(dir.Path());
    }
    std::string name;
    int fd = CreateRandomIn(dir.Fd(), dir.Path(), mode, name);
    t.FName = dir.PathOf(name);
    t.FHandle = TFileHandle(fd, std::string());
    return t;
}

TTempFile TTempFile::CreateNamed(const std::string &dir)
{
    TDirHandle folder = TDirHandle::Open(dir);
    std::string name;
    TTempFile t;
    int fd = CreateRandomIn(folder.Fd(), dir, 0600, name);
    t.FName = folder.PathOf(name);
    t.FHandle = TFileHandle(fd, t.FName);
    return t;
}

TTempFile TTempFile::CreateKeepsake(const std::string &label)
{
    const std::string priv = PrivateDir();
    const std::string home = PrivateDirUsable(priv) ? priv : TempDir();
    TDirHandle folder = TDirHandle::Open(home);
    std::string name;
    const int fd = CreateRandomIn(folder.Fd(), home, 0600, name, [](const std::string &random, const std::string &l) {
        return l + "." + random.substr(0, 8) + ".orig";
    }, label);
    const std::string path = folder.PathOf(name);
    return Adopt(TFileHandle(fd, path), path);
}

size_t TTempFile::RemoveStale()
{
    const std::string priv = PrivateDir();
    struct stat st;
    if (::lstat(priv.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid() || (st.st_mode & 077))
        return 0;
    int dfd = ::open(priv.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (dfd < 0)
        return 0;
    DIR *d = ::fdopendir(::dup(dfd));
    size_t removed = 0;
    while (d) {
        dirent *e = ::readdir(d);
        if (!e)
            break;
        const std::string name = e->d_name;
        if (name.size() < 4 || name.compare(name.size() - 4, 4, ".tmp") != 0)
            continue;
        int fd = ::openat(dfd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat byFd, byName;
        // Unlocked means its owner is gone; the name must still be this very file.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &byFd) == 0 && S_ISREG(byFd.st_mode) &&
            ::fstatat(dfd, name.c_str(), &byName, AT_SYMLINK_NOFOLLOW) == 0 && byName.st_ino == byFd.st_ino &&
            byName.st_dev == byFd.st_dev && ::unlinkat(dfd, name.c_str(), 0) == 0)
            ++removed;
        ::close(fd);
    }
    if (d)
        ::closedir(d);
    ::close(dfd);
    return removed;
}

std::string TTempFile::PendingName(const std::string &name) { return "." + name + ".hxnew"; }

void TTempFile::LinkAs(const TDirHandle &dir, const std::string &name)
{
    // Each link and rename is a step of the save for the fault seam.
    TFileFaults::BeforeWrite(dir.Fd());
    if (!FName.empty()) {
        if (::renameat(AT_FDCWD, FName.c_str(), dir.Fd(), name.c_str()) != 0)
            FailIn(dir.PathOf(name));
    } else {
        // An unnamed file can only be linked under a free name: `name` itself when it is
        // free (a backup generation), else a name beside it that the rename then puts over
        // the target in one step. That name is known rather than random so that the next
        // load can remove it when a crash came in between. Taken, it is another save's of
        // the same file (or such a leftover), never to be removed here: a random name then.
        if (LinkUnnamed(FHandle.Fd(), dir.Fd(), name)) {
            FName = dir.PathOf(name);
            FKeep = true;
            return;
        }
        if (errno != EEXIST)
            FailIn(dir.PathOf(name));
        std::string tmp = PendingName(name);
        for (int attempt = 0; !LinkUnnamed(FHandle.Fd(), dir.Fd(), tmp); ++attempt) {
            if (errno != EEXIST || attempt > 100)
                FailIn(dir.PathOf(name));
            tmp = RandomName();
        }
        int err = 0;
        try {
            TFileFaults::BeforeWrite(dir.Fd());
            if (::renameat(dir.Fd(), tmp.c_str(), dir.Fd(), name.c_str()) != 0)
                err = errno;
        } catch (const std::system_error &e) {
            err = e.code().value();
        }
        if (err != 0) {
            ::unlinkat(dir.Fd(), tmp.c_str(), 0);
            errno = err;
            FailIn(dir.PathOf(name));
        }
    }
    FName = dir.PathOf(name);
    FKeep = true;
}

TTempFile::~TTempFile()
{
    if (!FKeep)
        Remove();
}

TTempFile::TTempFile(TTempFile &&other) noexcept
    : FHandle(std::move(other.FHandle)), FName(std::move(other.FName)), FKeep(other.FKeep)
{
    other.FKeep = true;
    other.FName.clear();
}

TTempFile &TTempFile::operator=(TTempFile &&other) noexcept
{
    if (this != &other) {
        if (!FKeep)
            Remove();
        FHandle = std::move(other.FHandle);
        FName = std::move(other.FName);
        FKeep = other.FKeep;
        other.FKeep = true;
        other.FName.clear();
    }
    return *this;
}

void TTempFile::Remove()
{
    // Unlinked before closing: the lock stays held until the name is gone, so RemoveStale
    // never races a closing owner.
    if (!FName.empty() && FHandle.IsOpen())
        ::unlink(FName.c_str());
    FHandle.Close();
    FName.clear();
}
