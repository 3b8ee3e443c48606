// Saves that write only what changed: in place, through a journal, and so that a failure or a
// killed process at any step leaves the file, once it is opened again, exactly old or new.

#include "TFileFaults.h"
#include "TVxPatchJournal.h"
#include "TestSupport.h"

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {
struct PatchSaveTest : ::testing::Test {
    TScratchDir dir;
    std::string path = dir.File("image.bin");
    std::string journal = dir.File(TVxPatchJournal::NameFor("image.bin"));
    std::vector<uint8_t> old = Pattern(3 << 20, 31);
    std::vector<uint8_t> changed;

    std::vector<uint8_t> block = Pattern(70000, 2);

    void SetUp() override
    {
        WriteFileBytes(path, old);
        changed = old;
        changed[5] = 0xEE;
        changed[6] = 0xEF;
        std::copy(block.begin(), block.end(), changed.begin() + 1000000);
        changed.back() = 0x01;
    }
    void TearDown() override { TFileFaults::Reset(); }

    // Overwrites in three places, one of them a same-size replacement across a window.
    void Edit(TVxDocument &doc)
    {
        doc.OverwriteByte(5, 0xEE, true);
        doc.OverwriteByte(6, 0xEF, true);
        doc.ReplaceRange(1000000, 1069999, block.data(), 70000, true, false);
        doc.OverwriteByte(int32_t(old.size()) - 1, 0x01, true);
    }
    uint64_t Inode() const { return FileNumber(path); }
};
} // namespace

TEST_F(PatchSaveTest, OverwritesAreWrittenInPlaceAndAnythingElseSavesWhole)
{
    TVxDocument doc;
    doc.LoadFromFile(path);
    Edit(doc);
    const uint64_t before = Inode();
    ASSERT_TRUE(doc.Changes().Known());
    EXPECT_EQ(doc.Changes().Ranges().size(), 3u); // bytes 5 and 6 merged
    ASSERT_TRUE(doc.SaveToFile(path, true));
    EXPECT_EQ(Inode(), before); // written in place, not replaced
    EXPECT_EQ(ReadFileBytes(path), changed);
    EXPECT_FALSE(std::filesystem::exists(journal));
    EXPECT_TRUE(doc.Changes().Empty());

    // Undo is an overwrite too: the next save patches back.
    doc.Undo();
    ASSERT_TRUE(doc.SaveToFile(path, true));
    EXPECT_EQ(Inode(), before);
    changed.back() = old.back();
    EXPECT_EQ(ReadFileBytes(path), changed);

    // A size change since the save (even one put back) falls back to the whole file.
    doc.InsertByte(10, 0x00, true);
    doc.DeleteByte(10, true);
    EXPECT_FALSE(doc.Changes().Known());
    ASSERT_TRUE(doc.SaveToFile(path, false));
    EXPECT_NE(Inode(), before);
    EXPECT_EQ(ReadFileBytes(path), changed);

    // So do backups.
    const uint64_t second = Inode();
    doc.OverwriteByte(0, 0x00, true);
    doc.SaveBackup = true;
    ASSERT_TRUE(doc.SaveToFile(path, false));
    EXPECT_NE(Inode(), second);
    EXPECT_TRUE(std::filesystem::exists(TVxDocument::BackupFileName(path, 1)));
}

TEST_F(PatchSaveTest, EveryFailingWriteLeavesTheOldFileAndNoJournal)
{
    TVxDocument doc;
    doc.LoadFromFile(path);
    Edit(doc);
    for (int n = 1;; ++n) {
        ASSERT_LT(n, 100) << "save never completed";
        TFileFaults::FailNthWrite(n, EIO);
        const bool ok = doc.SaveToFile(path, true);
        TFileFaults::Reset();
        if (ok)
            break;
        ASSERT_EQ(ReadFileBytes(path), old) << "write " << n;
        ASSERT_FALSE(std::filesystem::exists(journal)) << "write " << n;
        ASSERT_TRUE(doc.Modified());
    }
    EXPECT_EQ(ReadFileBytes(path), changed);
}

TEST_F(PatchSaveTest, ASaveThatSucceededIsNotTakenBackByAJournalThatCouldNotBeRemoved)
{
    for (int n = 1;; ++n) {
        ASSERT_LT(n, 100) << "save never completed";
        WriteFileBytes(path, old);
        TVxDocument doc;
        doc.LoadFromFile(path);
        Edit(doc);
        TFileFaults::Reset();
        TFileFaults::FailNthWrite(n, EIO);
        const bool ok = doc.SaveToFile(path, true);
        const long steps = TFileFaults::WriteCount();
        TFileFaults::Reset();
        if (ok) {
            TVxDocument reopened;
            reopened.LoadFromFile(path);
            ASSERT_EQ(DocBytes(reopened), changed) << "write " << n;
        }
        if (n > steps)
            break;
    }
}

#ifndef _WIN32 // killed children made with fork
TEST_F(PatchSaveTest, KilledAtEveryStepTheFileReopensOldOrNew)
{
    bool sawRecovery = false;
    for (int n = 1;; ++n) {
        ASSERT_LT(n, 100) << "save never completed";
        WriteFileBytes(path, old);
        std::fflush(nullptr);
        pid_t child = ::fork();
        if (child == 0) {
            TVxDocument doc;
            doc.LoadFromFile(path);
            Edit(doc);
            TFileFaults::CallAtNthWrite(n, [] { ::kill(::getpid(), SIGKILL); });
            ::_exit(doc.SaveToFile(path, true) ? 0 : 3);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        const bool killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
        ASSERT_TRUE(killed || (WIFEXITED(status) && WEXITSTATUS(status) == 0)) << "step " << n;

        const bool hadJournal = std::filesystem::exists(journal);
        TRecordingHooks hooks;
        TVxDocument reopened(&hooks);
        reopened.SetQuestions(&hooks);
        reopened.LoadFromFile(path);
        const auto now = DocBytes(reopened);
        ASSERT_TRUE(now == old || now == changed) << "step " << n;
        EXPECT_FALSE(std::filesystem::exists(journal)) << "step " << n;
        if (hadJournal && !hooks.Questions.empty()) {
            sawRecovery = true;
            EXPECT_EQ(hooks.Questions, (std::vector<std::string>{"recovered:" + path})) << "step " << n;
            EXPECT_EQ(now, old) << "step " << n;
        }
        if (!killed) {
            EXPECT_EQ(now, changed);
            break;
        }

    }
    EXPECT_TRUE(sawRecovery) << "no step was cut short after the file had been touched";
}

TEST_F(PatchSaveTest, ATornJournalIsDroppedAndTheFileLeftAlone)
{
    // A journal cut off while it was written: the file was never touched.
    TVxDocument doc;
    doc.LoadFromFile(path);
    Edit(doc);
    std::fflush(nullptr);
    pid_t child = ::fork();
    if (child == 0) {
        // The journal's header is the first write of the save, its ranges the second.
        TFileFaults::CallAtNthWrite(2, [] { ::kill(::getpid(), SIGKILL); });
        ::_exit(doc.SaveToFile(path, true) ? 0 : 3);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_TRUE(std::filesystem::exists(journal));
    TRecordingHooks hooks;
    TVxDocument reopened(&hooks);
    reopened.SetQuestions(&hooks);
    reopened.LoadFromFile(path);
    EXPECT_EQ(DocBytes(reopened), old);
    EXPECT_TRUE(hooks.Questions.empty());
    EXPECT_FALSE(std::filesystem::exists(journal));
}
#endif
