// Instances writing the settings file at the same moment: under the lock beside the file no
// write is made from a copy that is out of date, a held lock makes a write wait and then give
// up without writing, and the lock file is gone when nobody holds it.

#include "TDirHandle.h"
#include "TFilePaths.h"
#include "TIniFile.h"
#include "TLockFile.h"
#include "TestSupport.h"

#include <algorithm>
#include <cerrno>
#include <system_error>

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>

// Children made with fork; on Windows WindowsFilesTest locks against another process.
TEST(IniFileLockTest, TwoProcessesWritingAtOnceLoseNothing)
{
    TScratchDir dir;
    const std::string f = dir.File("Hexcavat.ini");
    constexpr int kKeys = 150;
    // Both children start on the same signal: the parent closing the pipe.
    int go[2];
    ASSERT_EQ(::pipe(go), 0);
    pid_t pids[2];
    for (int p = 0; p < 2; ++p) {
        pids[p] = ::fork();
        ASSERT_GE(pids[p], 0);
        if (pids[p] == 0) {
            ::close(go[1]);
            char c;
            (void)!::read(go[0], &c, 1);
            int failures = 0;
            for (int i = 0; i < kKeys; ++i) {
                TIniFile ini(f);
                ini.WriteInteger(p ? "Second" : "First", "k" + std::to_string(i), i * 2 + p);
                ini.WriteInteger("Shared", (p ? "b" : "a") + std::to_string(i), i);
                failures += !ini.UpdateFile();
            }
            ::_exit(failures == 0 ? 0 : 1);
        }
    }
    ::close(go[0]);
    ::close(go[1]);
    for (pid_t pid : pids) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a write failed";
    }
    TIniFile ini(f);
    int missing = 0;
    for (int i = 0; i < kKeys; ++i) {
        missing += ini.ReadInteger("First", "k" + std::to_string(i), -1) != i * 2;
        missing += ini.ReadInteger("Second", "k" + std::to_string(i), -1) != i * 2 + 1;
        missing += ini.ReadInteger("Shared", "a" + std::to_string(i), -1) != i;
        missing += ini.ReadInteger("Shared", "b" + std::to_string(i), -1) != i;
    }
    EXPECT_EQ(missing, 0);
    std::vector<std::string> sections = ini.ReadSections();
    std::sort(sections.begin(), sections.end());
    EXPECT_EQ(sections, (std::vector<std::string>{"First", "Second", "Shared"})) << "one of each";
    EXPECT_EQ(NamesIn(dir.Path()), std::vector<std::string>{"Hexcavat.ini"});
}
#endif

namespace {
// A short lock wait while it lives.
struct TShortLockWait {
    TShortLockWait() { TIniFile::SetLockWait(100); }
    ~TShortLockWait() { TIniFile::SetLockWait(5000); }
};
} // namespace

TEST(IniFileLockTest, AHeldLockMakesAWriteGiveUpAndTryAgainLater)
{
    TScratchDir dir;
    const std::string f = dir.File("Hexcavat.ini");
    // A lock file left by a holder that died is simply taken, and removed after the write.
    WriteFileBytes(f + ".lock", {});
    {
        TIniFile ini(f);
        ini.WriteString("A", "k", "old");
        EXPECT_TRUE(ini.UpdateFile());
    }
    EXPECT_EQ(NamesIn(dir.Path()), std::vector<std::string>{"Hexcavat.ini"});

    TShortLockWait shortWait;
    TDirHandle folder = TDirHandle::Open(dir.Path());
    TLockFile held = TLockFile::Acquire(folder, "Hexcavat.ini.lock", 0600, 0);
    ASSERT_TRUE(held.IsHeld());
    TIniFile ini(f);
    ini.WriteString("A", "k", "new");
    EXPECT_FALSE(ini.UpdateFile());
    EXPECT_EQ(TIniFile(f).ReadString("A", "k", ""), "old");
    EXPECT_TRUE(TFilePaths::Exists(f + ".lock")) << "the holder's file is left alone";

    // Not even the same process takes a held lock twice.
    try {
        TLockFile::Acquire(folder, "Hexcavat.ini.lock", 0600, 0);
        ADD_FAILURE() << "locked twice";
    } catch (const std::system_error &e) {
        EXPECT_EQ(e.code().value(), ETIMEDOUT);
    }

    held.Release();
    EXPECT_FALSE(TFilePaths::Exists(f + ".lock"));
    EXPECT_TRUE(ini.UpdateFile()) << "the change was kept for the next attempt";
    EXPECT_EQ(TIniFile(f).ReadString("A", "k", ""), "new");
}
