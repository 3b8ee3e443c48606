// Long operations report how far they got, and a cancelled load leaves the previous
// document exactly as it was.

#include "TestProgress.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {
struct ProgressTest : ::testing::Test {
    TScratchDir dir;
    TPrivateTempDir tmp;
    TNamedTempFiles named;
    TVxDocument doc;
    TRecordingProgress progress;
    std::vector<uint8_t> big = Pattern((20 << 20) + 123, 41);
};
} // namespace

TEST_F(ProgressTest, LoadAndSaveReportMonotoneValuesEndingAtTheTotal)
{
    WriteFileBytes(dir.File("big.bin"), big);
    doc.SetProgress(&progress);
    doc.LoadFromFile(dir.File("big.bin"));
    ASSERT_GE(progress.Calls.size(), 3u);
    EXPECT_TRUE(progress.Monotone());
    EXPECT_EQ(progress.Calls.back().Total, int64_t(big.size()));
    for (const auto &c : progress.Calls)
        EXPECT_TRUE(c.Cancellable);

    progress.Calls.clear();
    doc.InsertByte(0, 7, true); // a size change: the whole file is written
    ASSERT_TRUE(doc.SaveToFile(dir.File("copy.bin"), true));
    ASSERT_GE(progress.Calls.size(), 3u);
    EXPECT_TRUE(progress.Monotone());
    EXPECT_EQ(progress.Calls.back().Total, int64_t(big.size()) + 1);
    for (const auto &c : progress.Calls)
        EXPECT_FALSE(c.Cancellable) << "a save is never cancelled";
}

TEST_F(ProgressTest, CancelledLoadKeepsThePreviousDocument)
{
    const auto small = Pattern(100000, 3);
    LoadDocument(doc, dir.File("small.bin"), small);
    doc.OverwriteByte(10, 0xAA, true);
    doc.InsertByte(20, 0xBB, true); // a resized dirty window
    const auto before = DocBytes(doc);
    WriteFileBytes(dir.File("big.bin"), big);
    doc.SetProgress(&progress);
    for (int n : {1, 2}) {
        progress.Cancellable = 0;
        progress.CancelAt = n;
        EXPECT_THROW(doc.LoadFromFile(dir.File("big.bin")), TVxCancelled);
        EXPECT_EQ(DocBytes(doc), before);
        EXPECT_EQ(doc.FileName(), dir.File("small.bin"));
        EXPECT_EQ(doc.UndoCount(), 2);
        EXPECT_TRUE(doc.Modified());
        EXPECT_EQ(tmp.FileCount(), 1u) << "the unfinished working copy is gone";
    }
    doc.Undo();
    doc.Undo();
    EXPECT_EQ(DocBytes(doc), small);
}
