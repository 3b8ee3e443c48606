// Temporary files: private, unpredictable, gone with the process that made them, and the
// leftovers of a dead instance cleaned up at the next start.

#include "TDirHandle.h"
#include "TFileIdentity.h"
#include "TTempFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <set>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
struct stat StatOf(const std::string &path)
{
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st;
}
} // namespace
#endif

TEST(TempFileTest, NamesAreRandomEightHexDigits)
{
    std::set<std::string> names;
    for (int i = 0; i < 200; ++i) {
        const std::string n = TTempFile::RandomName();
        ASSERT_EQ(n.size(), 12u);
        EXPECT_EQ(n.substr(8), ".tmp");
        EXPECT_EQ(n.find_first_not_of("0123456789ABCDEF"), 8u);
        EXPECT_TRUE(names.insert(n).second) << n;
    }
}

#ifndef _WIN32 // Windows has no unnamed files
TEST(TempFileTest, UnnamedFilesLeaveNoNameAnywhere)
{
    TPrivateTempDir tmp;
    TTempFile t = TTempFile::Create();
    t.Handle().WriteAt(0, "abc", 3);
    struct stat st;
    ASSERT_EQ(::fstat(t.Handle().Fd(), &st), 0);
    if (st.st_nlink != 0)
        GTEST_SKIP() << "the temporary folder's file system has no unnamed files";
    EXPECT_TRUE(t.Name().empty());
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(tmp.FileCount(), 0u);
}
#endif

TEST(TempFileTest, NamedFallbackLivesInAPrivateFolderAndGoesWithItsOwner)
{
    TPrivateTempDir tmp;
    TNamedTempFiles named;
    std::string name;
    {
        TTempFile t = TTempFile::Create();
        name = t.Name();
        ASSERT_EQ(name.rfind(TTempFile::PrivateDir() + "/", 0), 0u) << name;
#ifndef _WIN32
        EXPECT_EQ(StatOf(name).st_mode & 0777, 0600u);
        EXPECT_EQ(StatOf(TTempFile::PrivateDir()).st_mode & 0777, 0700u);
        // A running owner holds the lock: nobody may take the file away from it.
        int fd = ::open(name.c_str(), O_RDONLY);
        ASSERT_GE(fd, 0);
        EXPECT_NE(::flock(fd, LOCK_EX | LOCK_NB), 0);
        ::close(fd);
#endif
        EXPECT_EQ(TTempFile::RemoveStale(), 0u);
        EXPECT_TRUE(PathExists(name));
    }
    EXPECT_FALSE(PathExists(name));
}

#ifndef _WIN32 // owners, fork and symbolic links of POSIX systems; see WindowsFilesTest
TEST(TempFileTest, SquattedPrivateFolderIsNotUsed)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to plant a folder of another user";
    TPrivateTempDir tmp;
    TNamedTempFiles named;
    const std::string priv = TTempFile::PrivateDir();
    ASSERT_EQ(::mkdir(priv.c_str(), 0777), 0);
    ASSERT_EQ(::chmod(priv.c_str(), 0777), 0);
    ASSERT_EQ(::chown(priv.c_str(), 65534, 65534), 0);
    TTempFile t = TTempFile::Create();
    EXPECT_EQ(t.Name().rfind(priv + "/", 0), std::string::npos) << t.Name();
    EXPECT_EQ(StatOf(t.Name()).st_mode & 0777, 0600u);
    EXPECT_EQ(TTempFile::RemoveStale(), 0u); // a folder that is not ours is never cleaned
}

TEST(TempFileTest, StaleFilesOfADeadInstanceAreRemovedAndNothingElse)
{
    TPrivateTempDir tmp;
    TNamedTempFiles named;
    TTempFile mine = TTempFile::Create();
    TTempFile keepsake = TTempFile::CreateKeepsake("image.bin");
    keepsake.Keep();
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        TTempFile a = TTempFile::Create();
        TTempFile b = TTempFile::Create();
        ::kill(::getpid(), SIGKILL); // no destructor runs
        ::_exit(1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_EQ(tmp.FileCount(), 4u);
    EXPECT_EQ(TTempFile::RemoveStale(), 2u);
    EXPECT_EQ(tmp.FileCount(), 2u);
    EXPECT_EQ(::access(mine.Name().c_str(), F_OK), 0);
    EXPECT_EQ(::access(keepsake.Name().c_str(), F_OK), 0);
    ::unlink(keepsake.Name().c_str());
}

TEST(TempFileTest, LinkAsReplacesAPlantedLinkInsteadOfFollowingIt)
{
    TScratchDir dir;
    const std::string victim = dir.File("victim");
    WriteFileBytes(victim, {1, 2, 3});
    ASSERT_EQ(::symlink(victim.c_str(), dir.File("target").c_str()), 0);
    for (bool unnamed : {true, false}) {
        TTempFile::SetUnnamedAllowed(unnamed);
        TDirHandle d = TDirHandle::Open(dir.Path());
        TTempFile t = TTempFile::CreateIn(d, 0600);
        t.Handle().WriteAt(0, "new", 3);
        t.LinkAs(d, "target");
        EXPECT_TRUE(S_ISREG(StatOf(dir.File("target")).st_mode));
        EXPECT_EQ(ReadFileBytes(dir.File("target")), (std::vector<uint8_t>{'n', 'e', 'w'}));
        EXPECT_EQ(ReadFileBytes(victim), (std::vector<uint8_t>{1, 2, 3}));
        ::unlink(dir.File("target").c_str());
        ASSERT_EQ(::symlink(victim.c_str(), dir.File("target").c_str()), 0);
    }
    TTempFile::SetUnnamedAllowed(true);
    // Only the planted link and the victim: no file of a save was left under another name.
    size_t n = 0;
    TDirHandle d = TDirHandle::Open(dir.Path());
    for (const char *name : {"victim", "target"})
        n += TFileIdentity::OfEntry(d, name).Exists ? 1 : 0;
    EXPECT_EQ(n, 2u);
}
#endif

TEST(TempFileTest, UnusableTemporaryFolderFallsBack)
{
    TPrivateTempDir tmp;
    const std::string good = TTempFile::TempDir();
    SetTempFolderVariable("/nonexistent-hexcavator");
#ifndef _WIN32 // Windows: the Temp folder of the Windows folder
    EXPECT_EQ(TTempFile::TempDir(), "/tmp");
#endif
    TTempFile::SetFallbackDir(good);
    EXPECT_EQ(TTempFile::TempDir(), good);
    TTempFile::SetFallbackDir("/nonexistent-hexcavator-too");
    EXPECT_THROW(TTempFile::Create(), std::system_error);
    TTempFile::SetFallbackDir(std::string());
}
