// Long operations report how far they got, and a cancelled load leaves the previous
// document exactly as it was. Block edits and their undo report each as one operation,
// over all the copies they make.

#include "TestProgress.h"
#include "TestSupport.h"
#include "TVxProgressSteps.h"

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

// ---------------------------------------------------------------------------------------
// Block edits: one operation each, however many copies it makes

TEST(ProgressStepsTest, StepsMapIntoOneMonotoneRangeEndingAtTheTotal)
{
    TRecordingProgress p;
    {
        TVxProgressSteps steps(&p, 100);
        TFileCopy::TObserver *first = steps.Step(30);
        ASSERT_NE(first, nullptr);
        first->Copied(10);
        first->Copied(50); // more than announced: held at the step's end
        steps.Step(0);
        TFileCopy::TObserver *last = steps.Step(100); // announced beyond the total
        last->Copied(40);
        last->Copied(60);
        steps.Finish(); // the total was reached already: not sent twice
    }
    std::vector<int64_t> values;
    for (const auto &c : p.Calls)
        values.push_back(c.Done);
    EXPECT_EQ(values, (std::vector<int64_t>{10, 30, 70, 100}));
    EXPECT_TRUE(p.OneOperation(100));

    p.Calls.clear();
    {
        TVxProgressSteps steps(&p, 1000);
        steps.Step(500)->Copied(500);
        TVxProgress *sub = steps.SubOperation(500);
        ASSERT_NE(sub, nullptr);
        sub->Report(50, 100, true); // a sub-operation's half: halfway through its share
        steps.Step(0);              // a step that copies nothing still ends at the total
        steps.Finish();
    }
    ASSERT_EQ(p.Calls.size(), 3u);
    EXPECT_EQ(p.Calls[1].Done, 750);
    EXPECT_TRUE(p.OneOperation(1000)) << "nothing of a composed operation can be cancelled";

    TVxProgressSteps silent(nullptr, 10);
    EXPECT_EQ(silent.Step(5), nullptr) << "no progress: the copies run unobserved";
    EXPECT_EQ(silent.SubOperation(5), nullptr);
    silent.Finish();
}

namespace {
struct BlockProgressTest : ProgressTest {
    std::vector<uint8_t> model;
    void SetUp() override
    {
        LoadDocument(doc, dir.File("big.bin"), big);
        model = big;
        doc.SetProgress(&progress);
        // The view must not read the bytes while they move (see TVxDocument::Changing).
        progress.During = [this] { EXPECT_TRUE(doc.Changing()); };
    }
    // Each block edit below is one operation of this many bytes, reported in several chunks.
    void ExpectOneOperation(int64_t total)
    {
        EXPECT_TRUE(progress.OneOperation(total)) << progress.Calls.size() << " calls";
        EXPECT_GE(progress.Calls.size(), 2u);
        EXPECT_FALSE(doc.Changing());
        EXPECT_EQ(DocBytes(doc), model);
        progress.Calls.clear();
    }
    int64_t Size() const { return int64_t(model.size()); }
};
constexpr int32_t kMiB = 1 << 20;
} // namespace

TEST_F(BlockProgressTest, DeleteInsertAndReplaceOfLargeRanges)
{
    // Delete: the removed bytes into the undo store, then the tail.
    doc.DeleteRange(kMiB, 11 * kMiB - 1, true);
    model.erase(model.begin() + kMiB, model.begin() + 11 * kMiB);
    ExpectOneOperation(10 * kMiB + (Size() - kMiB));

    // Insert (a paste without selection): the tail, then the new bytes.
    const auto block = Pattern(12 * kMiB, 77);
    doc.InsertBlock(2 * kMiB, block.data(), int32_t(block.size()), true, true);
    const int64_t tail = Size() - 2 * kMiB;
    model.insert(model.begin() + 2 * kMiB, block.begin(), block.end());
    ExpectOneOperation(tail + int64_t(block.size()));

    // Replace (a paste over a selection) by a shorter block: old bytes, tail, new bytes.
    doc.ReplaceRange(kMiB, 10 * kMiB - 1, block.data(), 3 * kMiB, true, true);
    model.erase(model.begin() + kMiB, model.begin() + 10 * kMiB);
    model.insert(model.begin() + kMiB, block.begin(), block.begin() + 3 * kMiB);
    ExpectOneOperation(9 * kMiB + (Size() - 4 * kMiB) + 3 * kMiB);

    // Same size: no tail moves, the old bytes go out and the new ones in.
    doc.ReplaceRange(4 * kMiB, 9 * kMiB - 1, block.data(), 5 * kMiB, true, true);
    std::copy(block.begin(), block.begin() + 5 * kMiB, model.begin() + 4 * kMiB);
    ExpectOneOperation(10 * kMiB);

    // After typing inserts the window has changed length: its flush moves the file's
    // remainder too, and that is part of the same operation.
    doc.InsertByte(100, 0xEE, true);
    model.insert(model.begin() + 100, 0xEE);
    progress.Calls.clear();
    const int32_t mid = int32_t(Size() / 2);
    const int64_t withoutFlush = 10 + (Size() - mid - 10);
    doc.DeleteRange(mid, mid + 9, true);
    model.erase(model.begin() + mid, model.begin() + mid + 10);
    ASSERT_FALSE(progress.Calls.empty());
    const int64_t total = progress.Calls.back().Total;
    EXPECT_GT(total, withoutFlush + Size() / 2) << "the flush of the window's remainder is counted";
    ExpectOneOperation(total);

    while (doc.UndoCount() > 0)
        doc.Undo();
    progress.Calls.clear();
    EXPECT_EQ(DocBytes(doc), big);
}

TEST_F(BlockProgressTest, TheFlushOfAWindowThatGrewIsOneOperationAndOnlyWhereItIsLong)
{
    doc.InsertByte(100, 0xEE, true);
    model.insert(model.begin() + 100, 0xEE);
    progress.Calls.clear();
    EXPECT_FALSE(doc.LongFlushBefore(120)) << "inside the window nothing moves";
    ASSERT_TRUE(doc.LongFlushBefore(int32_t(Size()) - 1));
    doc.FlushCache();
    // The file's bytes behind the window's original 32 KiB, each moved one place on.
    ExpectOneOperation(int64_t(big.size()) - 32768);
    EXPECT_FALSE(doc.LongFlushBefore(int32_t(Size()) - 1)) << "a clean window moves for free";
    doc.FlushCache();
    EXPECT_TRUE(progress.Calls.empty());

    // Near the end of the document the remainder is short: not worth doing beforehand.
    doc.InsertByte(int32_t(Size()) - 50, 0xEF, true);
    EXPECT_FALSE(doc.LongFlushBefore(0));
}

TEST_F(BlockProgressTest, InsertFileReportsTheTailAndTheFile)
{
    const auto inserted = Pattern(12 * kMiB + 5, 9);
    WriteFileBytes(dir.File("insert.bin"), inserted);
    const int32_t at = 3 * kMiB;
    EXPECT_EQ(doc.InsertFile(at, dir.File("insert.bin"), true), int32_t(inserted.size()));
    model.insert(model.begin() + at, inserted.begin(), inserted.end());
    ExpectOneOperation(int64_t(big.size()) - at + int64_t(inserted.size()));
    EXPECT_EQ(doc.UndoCount(), 1);
}

TEST_F(BlockProgressTest, UndoAndRedoOfLargeRecordsReportOneOperationEach)
{
    const int32_t a = 2 * kMiB, n = 12 * kMiB;
    doc.DeleteRange(a, a + n - 1, true);
    ASSERT_GT(doc.UndoStore().SpilledBytes(), 0) << "the block went to the store's file";
    model.erase(model.begin() + a, model.begin() + a + n);
    progress.Calls.clear();

    doc.Undo(); // tail back up, block back in from the store
    model = big;
    ExpectOneOperation(int64_t(big.size()) - n - a + n);
    doc.Redo(); // block into the store again, tail down
    model.erase(model.begin() + a, model.begin() + a + n);
    ExpectOneOperation(n + (int64_t(big.size()) - a - n));

    // A replacement by fewer bytes, undone: old bytes out, tail, the 12 MiB back in.
    const uint8_t three[3] = {1, 2, 3};
    doc.Undo();
    model = big;
    progress.Calls.clear();
    doc.ReplaceRange(a, a + n - 1, three, 3, true, true);
    model.erase(model.begin() + a, model.begin() + a + n);
    model.insert(model.begin() + a, three, three + 3);
    progress.Calls.clear();
    doc.Undo();
    model = big;
    ExpectOneOperation(3 + (int64_t(big.size()) - n - a) + n);
}

TEST_F(BlockProgressTest, GroupUndoMemberByMemberIsOneOperation)
{
    // Spilled members cannot be reverted in one pass: each one shifts the tail on its own.
    doc.UndoStore().SetLimits(1024, 4096);
    std::vector<TVxSplice> splices;
    const uint8_t one = 0x42;
    for (int32_t at : {kMiB, 8 * kMiB, 15 * kMiB})
        splices.push_back(TVxSplice{at, 4096, &one, 1});
    // Its rewrite reports too, but from a new file: the document is untouched meanwhile.
    auto during = std::exchange(progress.During, nullptr);
    doc.ReplaceRanges(splices, true, true);
    progress.During = during;
    const auto replaced = DocBytes(doc);
    ASSERT_EQ(doc.UndoCount(), 4);
    progress.Calls.clear();

    doc.Undo();
    ASSERT_FALSE(progress.Calls.empty());
    ExpectOneOperation(progress.Calls.back().Total);
    EXPECT_EQ(doc.UndoCount(), 0);

    doc.Redo();
    model = replaced;
    ASSERT_FALSE(progress.Calls.empty());
    ExpectOneOperation(progress.Calls.back().Total);
}
