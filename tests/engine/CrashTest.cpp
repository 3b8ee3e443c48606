// A process killed in the middle of a load or a save leaves nothing behind: no working copy
// in the temporary folder, no half-written file beside the target, and the target whole.
// Saves are killed at every step the file layer's fault seam sees, one way of saving after
// the other.

#include "TDirectWriter.h"
#include "TFileFaults.h"
#include "TTempFile.h"
#include "TestSupport.h"

#include <algorithm>
#include <filesystem>
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

namespace {
constexpr size_t kSmall = 64 << 10;
// The smallest size written past the page cache while the sweep runs.
constexpr size_t kDirect = TDirectWriter::kBlock + TDirectWriter::kAlign + 1000;

// One way TVxDocument saves, and what selects it.
struct TSaveWay {
    const char *Name;
    size_t Size;
    bool HardLinked; // a second name keeps the file where it is: written in place
    bool Backups;    // numbered generations, the newest a link to (or copy of) the old file
    bool Overwrite;  // same size, few bytes changed: the journaled patch; else 3 bytes inserted
    long MinKills;   // the sweep must stop at least this often, or the way was not taken
};

void PrintTo(const TSaveWay &way, std::ostream *os) { *os << way.Name; }

// Every name in the folder, hidden ones included (a journal or a pending new file).
std::vector<std::string> AllNamesIn(const std::string &dir)
{
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void Edit(TVxDocument &doc, const TSaveWay &way)
{
    const uint8_t nines[] = {9, 9, 9};
    if (!way.Overwrite) {
        doc.InsertBlock(1000, nines, 3, true, false);
        return;
    }
    for (int32_t at : {5, 1000, doc.FileSize() - 1})
        doc.OverwriteByte(at, static_cast<uint8_t>(doc.ByteAt(at) ^ 0x5A), true);
}

class KillSweepTest : public ::testing::TestWithParam<TSaveWay> {
protected:
    TScratchDir dir;
    TPrivateTempDir tmp;
    std::string file = dir.File("data.bin");
    std::string link = dir.File("link.bin");
    std::string backup = dir.File("data.001.bin");

    void SetUp() override { TDirectWriter::SetMinSize(int64_t(kDirect)); }
    void TearDown() override { TDirectWriter::SetMinSize(TDirectWriter::kMinSize); }
};

// A save killed at any of its writes, flushes, links or renames leaves the target, once it is
// opened again, with its old or its new bytes, and beside it and in the temporary folder
// nothing but what the save was asked to keep; the save that runs to its end writes the new.
TEST_P(KillSweepTest, KilledAtEveryStepTheTargetIsOldOrNewAndNothingIsLeft)
{
    const TSaveWay &way = GetParam();
    const std::vector<uint8_t> old = Pattern(way.Size, 7);
    TVxDocument model;
    LoadDocument(model, file, old);
    Edit(model, way);
    const std::vector<uint8_t> edited = DocBytes(model);
    ASSERT_NE(edited, old);
    long kills = 0;
    for (int n = 1;; ++n) {
        ASSERT_LT(n, 200) << "the save never finished";
        for (const std::string &name : AllNamesIn(dir.Path()))
            RemovePath(dir.File(name));
        WriteFileBytes(file, old);
        if (way.HardLinked)
            MakeHardLink(file, link);
        const bool died = KilledAtWrite([&] {
            TVxDocument doc;
            doc.LoadFromFile(file);
            Edit(doc, way);
            doc.SaveBackup = way.Backups;
            TFileFaults::CallAtNthWrite(n, KillSelf);
            if (!doc.SaveToFile(file, false))
                ::_exit(3);
        });
        SCOPED_TRACE(testing::Message() << "killed at step " << n);

        TVxDocument reopened;
        reopened.LoadFromFile(file);
        const std::vector<uint8_t> now = ReadFileBytes(file);
        ASSERT_TRUE(now == old || now == edited) << "torn: " << now.size() << " bytes";
        ASSERT_EQ(DocBytes(reopened), now);
        if (!died) {
            ASSERT_EQ(now, edited) << "the save failed without being killed";
        }

        std::vector<std::string> expected = {"data.bin"};
        if (way.HardLinked) {
            expected.push_back("link.bin");
            EXPECT_EQ(FileNumber(link), FileNumber(file));
        }
        if (PathExists(backup)) {
            EXPECT_TRUE(way.Backups);
            EXPECT_EQ(ReadFileBytes(backup), old);
            expected.insert(expected.begin(), "data.001.bin");
        }
        if (way.Backups && !died) {
            EXPECT_TRUE(PathExists(backup));
        }
        EXPECT_EQ(AllNamesIn(dir.Path()), expected);
        EXPECT_EQ(tmp.FileCount(), 0u);
        if (!died)
            break;
        ++kills;
    }
    EXPECT_GE(kills, way.MinKills);
}

INSTANTIATE_TEST_SUITE_P(
    EverySaveWay, KillSweepTest,
    ::testing::Values(TSaveWay{"NewFileRenamedOverTheTarget", kSmall, false, false, false, 4},
                      TSaveWay{"InPlaceForAHardLinkedTarget", kSmall, true, false, false, 10},
                      TSaveWay{"JournaledPatch", kSmall, false, false, true, 10},
                      TSaveWay{"WithNumberedBackups", kSmall, false, true, false, 6},
                      // The newest generation is then a copy.
                      TSaveWay{"InPlaceWithNumberedBackups", kSmall, true, true, false, 12},
                      // Written past the page cache (the threshold lowered to it): a whole
                      // block, under way when the next step comes, and an unaligned tail.
                      TSaveWay{"DirectLargeSave", kDirect, false, false, false, 8}),
    [](const ::testing::TestParamInfo<TSaveWay> &p) { return std::string(p.param.Name); });
} // namespace
