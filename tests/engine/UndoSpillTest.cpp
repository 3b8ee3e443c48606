// Undo records whose bytes live in the engine's scratch file: the heap held by the history
// stays under its cap (read through the store's counters), and spilled records revert byte
// for byte whatever happened in between.

#include "TFileFaults.h"
#include "TestSupport.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <random>
#include <system_error>

namespace {
constexpr int32_t kThreshold = 4096;
constexpr int64_t kCap = 16384;

struct UndoSpillTest : ::testing::Test {
    TScratchDir dir;
    TPrivateTempDir tmp;
    TNamedTempFiles named; // so the scratch file can be seen in tmp
    TVxDocument doc;
    std::vector<uint8_t> original = Pattern(300000, 21);

    void SetUp() override
    {
        LoadDocument(doc, dir.File("f.bin"), original);
        doc.UndoStore().SetLimits(kThreshold, kCap);
    }
    void TearDown() override { TFileFaults::Reset(); }
};
} // namespace

TEST_F(UndoSpillTest, HistoryHeapStaysUnderTheCapAndEverythingUndoes)
{
    // Records below the threshold, records above it, replacements and a group: far more than
    // the cap in total, with the cap hit part way.
    std::mt19937 rng(3);
    std::vector<uint8_t> model = original;
    auto filler = Pattern(9000, 4);
    for (int i = 0; i < 60; ++i) {
        const int32_t size = doc.FileSize();
        const int32_t len = 1 + static_cast<int32_t>(rng() % (i % 3 == 0 ? 9000 : 3000));
        const int32_t at = static_cast<int32_t>(rng() % static_cast<uint32_t>(size - len));
        if (i % 2 == 0) {
            doc.DeleteRange(at, at + len - 1, true);
            model.erase(model.begin() + at, model.begin() + at + len);
        } else {
            const int32_t n = 1 + static_cast<int32_t>(rng() % 5000);
            doc.ReplaceRange(at, at + len - 1, filler.data(), n, true, false);
            model.erase(model.begin() + at, model.begin() + at + len);
            model.insert(model.begin() + at, filler.begin(), filler.begin() + n);
        }
        ASSERT_LE(doc.UndoStore().MemoryBytes(), kCap);
        if (i % 7 == 0) { // typing in between moves and dirties the window
            doc.OverwriteByte(at / 2, 0x5A, true);
            model[static_cast<size_t>(at / 2)] = 0x5A;
        }
    }
    ASSERT_EQ(DocBytes(doc), model);
    std::vector<TVxSplice> splices;
    for (int32_t k = 0; k < 50; ++k)
        splices.push_back(TVxSplice{k * 1000, 600, filler.data(), 2});
    doc.ReplaceRanges(splices, true, true);

    EXPECT_LE(doc.UndoStore().PeakMemoryBytes(), kCap);
    EXPECT_GT(doc.UndoStore().SpilledBytes(), 100000);
    EXPECT_GT(doc.UndoList().DataBytes(), 3 * kCap);
    const auto edited = DocBytes(doc);
    while (doc.UndoCount() > 0)
        doc.Undo();
    EXPECT_EQ(DocBytes(doc), original);
    // Redo replays it all through the same store, under the same cap.
    while (doc.RedoCount() > 0)
        doc.Redo();
    EXPECT_EQ(DocBytes(doc), edited);
    EXPECT_LE(doc.UndoStore().PeakMemoryBytes(), kCap);
    while (doc.UndoCount() > 0)
        doc.Undo();
    EXPECT_EQ(DocBytes(doc), original);
    doc.ClearUndo();
    EXPECT_EQ(doc.UndoStore().MemoryBytes(), 0);
    EXPECT_EQ(doc.UndoStore().SpilledBytes(), 0);
    EXPECT_FALSE(doc.UndoStore().HasScratchFile());
    EXPECT_EQ(tmp.FileCount(), 1u); // the working copy only
}

TEST_F(UndoSpillTest, DefaultThresholdSpillsLargeRecordsOnly)
{
    TVxDocument big;
    auto bytes = Pattern((1 << 20) + 5000, 8);
    LoadDocument(big, dir.File("big.bin"), bytes);
    big.DeleteRange(0, 4095, true);
    EXPECT_EQ(big.UndoStore().MemoryBytes(), 4096);
    EXPECT_FALSE(big.UndoStore().HasScratchFile());
    big.DeleteRange(0, (1 << 20), true); // 1 MiB + 1
    EXPECT_EQ(big.UndoStore().MemoryBytes(), 4096);
    EXPECT_EQ(big.UndoStore().SpilledBytes(), (1 << 20) + 1);
    big.Undo();
    big.Undo();
    EXPECT_EQ(DocBytes(big), bytes);
}

TEST_F(UndoSpillTest, SpilledRecordsSurviveKeepUndoSaveAndMovedWindow)
{
    std::vector<uint8_t> model = original;
    doc.DeleteRange(1000, 250999, true); // spilled
    model.erase(model.begin() + 1000, model.begin() + 251000);
    auto paste = Pattern(20000, 6);
    doc.ReplaceRange(500, 40499, paste.data(), 20000, true, true); // spilled replacement
    ASSERT_TRUE(doc.UndoList().Newest().Data.Spilled());
    ASSERT_TRUE(doc.SaveToFile(dir.File("f.bin"), true));
    EXPECT_FALSE(doc.Modified());

    // Typing far away leaves a resized dirty window elsewhere.
    doc.LoadCache(25000);
    doc.InsertByte(25000, 0x11, true);
    doc.DeleteByte(25010, true);
    ASSERT_EQ(doc.UndoCount(), 4);
    doc.LoadCache(0);
    doc.Undo();
    doc.Undo();
    doc.Undo(); // the replacement
    std::vector<uint8_t> afterDelete = original;
    afterDelete.erase(afterDelete.begin() + 1000, afterDelete.begin() + 251000);
    EXPECT_EQ(DocBytes(doc), afterDelete);
    doc.Undo(); // the deletion
    EXPECT_EQ(DocBytes(doc), original);
    EXPECT_EQ(WorkBytes(doc), original);
    EXPECT_TRUE(doc.Modified());
}

TEST_F(UndoSpillTest, EveryFailingWriteOfASpillLeavesEverythingAsItWas)
{
    std::vector<uint8_t> model = original;
    auto paste = Pattern(30000, 7);
    // Recording a spilled deletion, a spilled replacement, then undoing both: each with its
    // n-th write failing until it gets through.
    const std::function<void()> steps[] = {
        [&] { doc.DeleteRange(2000, 101999, true); },
        [&] { doc.ReplaceRange(100, 10099, paste.data(), 30000, true, true); },
        [&] { doc.UndoStep(false); },
        [&] { doc.UndoStep(false); },
    };
    std::vector<std::vector<uint8_t>> expect(4, original);
    expect[0].erase(expect[0].begin() + 2000, expect[0].begin() + 102000);
    expect[1] = expect[0];
    expect[1].erase(expect[1].begin() + 100, expect[1].begin() + 10100);
    expect[1].insert(expect[1].begin() + 100, paste.begin(), paste.end());
    expect[2] = expect[0];
    const int32_t undoAfter[] = {1, 2, 1, 0};
    for (int step = 0; step < 4; ++step) {
        const auto before = DocBytes(doc);
        const int32_t undo = doc.UndoCount();
        const int64_t spilled = doc.UndoStore().SpilledBytes();
        for (int n = 1;; ++n) {
            ASSERT_LT(n, 200) << "step " << step << " never completed";
            TFileFaults::FailNthWrite(n, ENOSPC);
            bool failed = false;
            try {
                steps[step]();
            } catch (const std::system_error &e) {
                failed = true;
                EXPECT_EQ(e.code().value(), ENOSPC);
            }
            TFileFaults::Reset();
            if (!failed)
                break;
            ASSERT_EQ(DocBytes(doc), before) << "step " << step << " write " << n;
            ASSERT_EQ(doc.UndoCount(), undo) << "step " << step << " write " << n;
            ASSERT_EQ(doc.UndoStore().SpilledBytes(), spilled) << "step " << step << " write " << n;
        }
        ASSERT_EQ(DocBytes(doc), expect[static_cast<size_t>(step)]) << "step " << step;
        ASSERT_EQ(doc.UndoCount(), undoAfter[step]);
    }
    EXPECT_GT(doc.RedoCount(), 0); // the undone steps, for redo, still in the scratch file
    doc.ClearUndo();
    EXPECT_FALSE(doc.UndoStore().HasScratchFile());
    EXPECT_EQ(tmp.FileCount(), 1u);
}
