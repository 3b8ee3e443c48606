// The registry between real processes: instances started together find each other, a killed
// one stops counting and its socket goes, notices reach everyone, and the next-instance
// command walks the front-to-back order through all of them.

#include "THelperProcess.h"
#include "TInstanceRegistry.h"
#include "TPrivateFolder.h"
#include "TRuntimeFolder.h"

#include <QFile>
#include <QSet>
#include <QSignalSpy>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {
struct InstanceRegistryTest : ::testing::Test {
    TRuntimeFolder Runtime;
    std::vector<std::unique_ptr<THelperProcess>> Helpers;

    // Starts `n` registry helpers at once, then waits until each has said where it listens.
    QStringList StartHelpers(int n)
    {
        const size_t first = Helpers.size();
        for (int i = 0; i < n; ++i)
            Helpers.push_back(std::make_unique<THelperProcess>(QStringList{"registry"}, Runtime.Path()));
        QStringList paths;
        for (size_t i = first; i < Helpers.size(); ++i) {
            const QString path = Helpers[i]->Take("ready ");
            EXPECT_FALSE(path.isNull()) << "helper " << i << ": " << Helpers[i]->AllOutput().toStdString();
            paths << path;
        }
        return paths;
    }
    THelperProcess &Helper(size_t i) { return *Helpers.at(i); }

    static QStringList Listed(THelperProcess &h) { return h.Ask("list", "list ").split(' ', Qt::SkipEmptyParts); }
};
} // namespace

TEST_F(InstanceRegistryTest, TenInstancesStartedTogetherAllSeeEachOther)
{
    const QStringList paths = StartHelpers(10);
    ASSERT_EQ(QSet<QString>(paths.begin(), paths.end()).size(), 10) << "ten different sockets";
    for (size_t i = 0; i < 10; ++i) {
        const QStringList seen = Listed(Helper(i));
        EXPECT_EQ(QSet<QString>(seen.begin(), seen.end()), QSet<QString>(paths.begin(), paths.end())) << "helper " << i;
        EXPECT_EQ(Helper(i).Ask("count", "count "), "10") << "helper " << i;
    }
}

TEST_F(InstanceRegistryTest, KilledInstanceIsNotCountedAgainAndItsSocketIsRemoved)
{
    const QStringList paths = StartHelpers(3);
    ASSERT_EQ(Helper(0).Ask("count", "count "), "3");
    Helper(1).Kill();
#ifndef _WIN32 // Windows deletes a killed instance's marker itself
    ASSERT_TRUE(QFile::exists(paths[1])) << "SIGKILL leaves the socket behind";
#endif

    EXPECT_EQ(Helper(0).Ask("count", "count "), "2");
    EXPECT_FALSE(QFile::exists(paths[1])) << "the enumeration removed the dead instance's socket";
    EXPECT_TRUE(QFile::exists(paths[0]));
    EXPECT_TRUE(QFile::exists(paths[2]));
    EXPECT_EQ(Helper(2).Ask("count", "count "), "2");

    // This process joins and leaves: counted while it runs, gone with its registry.
    {
        TInstanceRegistry mine(Runtime.Registry());
        EXPECT_EQ(mine.EditorInstanceCount(), 3);
        EXPECT_EQ(Helper(0).Ask("count", "count "), "3");
    }
    EXPECT_EQ(Runtime.SocketFiles().size(), 2);
    EXPECT_EQ(Helper(0).Ask("count", "count "), "2");
}

TEST_F(InstanceRegistryTest, PostedNoticeReachesEveryInstanceTheSenderIncluded)
{
    TInstanceRegistry mine(Runtime.Registry());
    QSignalSpy fileOpened(&mine, &TInstanceRegistry::FileOpened);
    QSignalSpy searchText(&mine, &TInstanceRegistry::SearchTextChanged);
    QSignalSpy close(&mine, &TInstanceRegistry::CloseRequested);
    StartHelpers(4);

    ASSERT_FALSE(Helper(2).Ask("post FileOpened", "posted").isNull());
    for (size_t i = 0; i < 4; ++i)
        EXPECT_FALSE(Helper(i).Take("notice FileOpened").isNull()) << "helper " << i;
    EXPECT_TRUE(PollUntil([&] { return fileOpened.count() == 1; }));

    mine.PostToEditors(TEditorNotice::SearchTextChanged);
    mine.CloseAllInstances();
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_FALSE(Helper(i).Take("notice SearchTextChanged").isNull()) << "helper " << i;
        EXPECT_FALSE(Helper(i).Take("notice Close").isNull()) << "helper " << i;
    }
    EXPECT_TRUE(PollUntil([&] { return searchText.count() == 1 && close.count() == 1; }));
    EXPECT_EQ(fileOpened.count(), 1) << "each notice arrives once";
    for (size_t i = 0; i < 4; ++i)
        EXPECT_FALSE(Helper(i).HasLine("notice FileOpened")) << "helper " << i << " got a second one";
}

TEST_F(InstanceRegistryTest, NextInstanceCommandVisitsEveryInstanceAndReturnsToTheFirst)
{
    // Started one after the other: the newest is the front one, as a new window would be.
    QStringList paths;
    for (int i = 0; i < 3; ++i)
        paths << StartHelpers(1);
    ASSERT_EQ(paths.size(), 3);
    const QStringList order = Listed(Helper(0));
    ASSERT_EQ(order, (QStringList{paths[2], paths[1], paths[0]}));

    // From the front instance each time: the one furthest back comes forward.
    size_t front = 2;
    for (size_t expected : {size_t(0), size_t(1), size_t(2)}) {
        ASSERT_FALSE(Helper(front).Ask("prev", "done prev").isNull());
        ASSERT_FALSE(Helper(expected).Take("notice Activate").isNull())
            << "expected helper " << expected << " to come forward";
        for (size_t other = 0; other < 3; ++other)
            EXPECT_FALSE(other != expected && Helper(other).HasLine("notice Activate")) << "helper " << other;
        EXPECT_EQ(Listed(Helper(front)).value(0), paths[int(expected)]) << "it is the front one now";
        front = expected;
    }
    EXPECT_EQ(front, 2u) << "three steps came back to the instance that started";

    // Activation by the user moves an instance forward the same way.
    ASSERT_FALSE(Helper(1).Ask("activate", "done activate").isNull());
    EXPECT_EQ(Listed(Helper(0)), (QStringList{paths[1], paths[2], paths[0]}));
}

TEST_F(InstanceRegistryTest, NewInstanceComesToTheFrontEvenWhenTheClockWentBack)
{
    const QStringList first = StartHelpers(1);
    ASSERT_EQ(first.size(), 1);
    // Stamped an hour ahead: as if the clock had been set back since it was activated.
    const int64_t ahead = TPrivateFolder::NowNs() + int64_t(3600) * 1000000000;
    ASSERT_TRUE(TPrivateFolder::SetStamp(first[0].toStdString(), ahead));

    const QStringList second = StartHelpers(1);
    ASSERT_EQ(second.size(), 1);
    EXPECT_EQ(Listed(Helper(0)), (QStringList{second[0], first[0]}));
    ASSERT_FALSE(Helper(0).Ask("activate", "done activate").isNull());
    EXPECT_EQ(Listed(Helper(1)), (QStringList{first[0], second[0]}));
}

#ifndef _WIN32 // on Windows nobody can delete a live instance's marker, nor so its folder
TEST_F(InstanceRegistryTest, InstanceWhoseFolderWasDeletedComesBackWhenItLists)
{
    const QStringList paths = StartHelpers(2);
    ASSERT_EQ(paths.size(), 2);
    // The front one comes back first: its stamp must not fall behind the other's.
    ASSERT_FALSE(Helper(0).Ask("activate", "done activate").isNull());
    const QStringList before = Listed(Helper(0));
    ASSERT_EQ(before, (QStringList{paths[0], paths[1]}));

    // A cleaner of the temporary folder takes the folder and both sockets.
    std::error_code ec;
    std::filesystem::remove_all(Runtime.Registry().toStdString(), ec);
    ASSERT_FALSE(QFile::exists(paths[0]));

    EXPECT_EQ(Helper(0).Ask("count", "count "), "1") << "it counts itself, the other is unreachable";
    EXPECT_EQ(Helper(1).Ask("count", "count "), "2") << "both are listening again";
    EXPECT_EQ(Listed(Helper(0)), before) << "with the stamps they had";
    ASSERT_FALSE(Helper(0).Ask("post FileOpened", "posted").isNull());
    EXPECT_FALSE(Helper(1).Take("notice FileOpened").isNull());
}
#endif
