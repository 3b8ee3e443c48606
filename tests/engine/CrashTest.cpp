// A process killed in the middle of a load or a save leaves nothing behind: no working copy
// in the temporary folder, no half-written file beside the target, and the target whole.

#include "TFileFaults.h"
#include "TTempFile.h"
#include "TestSupport.h"

#include <functional>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
void KillSelf() { ::kill(::getpid(), SIGKILL); }

// Runs `work` in a child process; `work` arms the kill at the write it chooses. True when the
// child died there, false when the work finished with fewer writes.
bool KilledAtWrite(const std::function<void()> &work)
{
    pid_t pid = ::fork();
    if (pid == 0) {
        try {
            work();
        } catch (...) {
        }
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

struct CrashTest : ::testing::Test {
    TScratchDir dir;
    TPrivateTempDir tmp;
    std::string file;
    std::vector<uint8_t> original = Pattern(4 << 20, 3);
    void SetUp() override
    {
        file = dir.File("data.bin");
        WriteFileBytes(file, original);
    }
};
} // namespace

TEST_F(CrashTest, KilledDuringLoadLeavesNoWorkingCopy)
{
    int kills = 0;
    for (int n = 1;; ++n) {
        ASSERT_LT(n, 20);
        const bool died = KilledAtWrite([&] {
            TVxDocument doc;
            TFileFaults::CallAtNthWrite(n, KillSelf);
            doc.LoadFromFile(file);
        });
        if (!died)
            break;
        ++kills;
        EXPECT_EQ(tmp.FileCount(), 0u) << "killed at write " << n;
    }
    EXPECT_GE(kills, 2);
    EXPECT_EQ(NamesIn(dir.Path()), (std::vector<std::string>{"data.bin"}));
}

TEST_F(CrashTest, NamedLeftoversOfAKilledLoadAreRemovedAtTheNextStart)
{
    TNamedTempFiles named;
    ASSERT_TRUE(KilledAtWrite([&] {
        TVxDocument doc;
        TFileFaults::CallAtNthWrite(2, KillSelf);
        doc.LoadFromFile(file);
    }));
    EXPECT_GE(tmp.FileCount(), 1u);
    EXPECT_GE(TTempFile::RemoveStale(), 1u);
    EXPECT_EQ(tmp.FileCount(), 0u);
}

TEST_F(CrashTest, KilledDuringSaveLeavesTheWholeOldOrNewFileAndNothingElse)
{
    std::vector<uint8_t> edited = original;
    edited.insert(edited.begin() + 1000, {9, 9, 9});
    int kills = 0;
    for (int n = 1;; ++n) {
        ASSERT_LT(n, 20);
        WriteFileBytes(file, original);
        const bool died = KilledAtWrite([&] {
            TVxDocument doc;
            doc.LoadFromFile(file);
            const uint8_t nines[] = {9, 9, 9};
            doc.InsertBlock(1000, nines, 3, true, false);
            TFileFaults::CallAtNthWrite(n, KillSelf);
            doc.SaveToFile(file, false);
        });
        if (!died)
            break;
        ++kills;
        EXPECT_EQ(NamesIn(dir.Path()), (std::vector<std::string>{"data.bin"})) << "killed at write " << n;
        EXPECT_EQ(ReadFileBytes(file), original) << "killed at write " << n;
        EXPECT_EQ(tmp.FileCount(), 0u);
    }
    EXPECT_GE(kills, 2);
    EXPECT_EQ(ReadFileBytes(file), edited);
}
