// Failing disks: every write the engine makes can fail (injected through TFileFaults), and
// whatever fails, the document stays byte for byte as it was and nothing is lost.

#include "TFileFaults.h"
#include "TestSupport.h"

#include <cerrno>
#include <functional>
#include <gtest/gtest.h>
#include <system_error>

namespace {
constexpr int32_t W = TVxWorkCopy::kCacheSize;

struct FailureTest : ::testing::Test {
    TScratchDir dir;
    TPrivateTempDir tmp;
    TNamedTempFiles named; // the working copy is the one file expected in tmp
    std::unique_ptr<TVxDocument> doc;
    std::vector<uint8_t> model;

    void SetUp() override
    {
        doc = std::make_unique<TVxDocument>();
        model = Pattern(1 << 20, 5); // several move buffers long
        LoadDocument(*doc, dir.File("f.bin"), model);
    }
    void TearDown() override
    {
        TFileFaults::Reset();
        doc.reset();
    }

    // Leaves a resized dirty window in the middle, so every block edit has a flush to do.
    void DirtyWindow()
    {
        const int32_t at = 400000;
        doc->InsertByte(at, 0xAB, true);
        doc->DeleteByte(at + 5, true);
        doc->InsertByte(at + 9, 0xCD, true);
        model.insert(model.begin() + at, 0xAB);
        model.erase(model.begin() + at + 5);
        model.insert(model.begin() + at + 9, 0xCD);
    }

    // Runs `edit` with the n-th write failing, n = 1, 2, ... until it gets through. Every
    // failed attempt must leave the document, its size and its history untouched.
    void FailEveryWriteOf(const std::function<void()> &edit, const std::function<void()> &applyToModel)
    {
        for (int n = 1;; ++n) {
            ASSERT_LT(n, 200) << "edit never completed";
            DirtyWindow();
            const int32_t undo = doc->UndoCount();
            TFileFaults::Reset();
            TFileFaults::FailNthWrite(n, ENOSPC);
            bool failed = false;
            try {
                edit();
            } catch (const std::system_error &e) {
                failed = true;
                EXPECT_EQ(e.code().value(), ENOSPC);
            }
            TFileFaults::Reset();
            if (!failed) {
                applyToModel();
                EXPECT_EQ(DocBytes(*doc), model);
                EXPECT_EQ(WorkBytes(*doc), model);
                return;
            }
            ASSERT_EQ(doc->FileSize(), static_cast<int32_t>(model.size())) << "write " << n;
            ASSERT_EQ(doc->UndoCount(), undo) << "write " << n;
            ASSERT_EQ(DocBytes(*doc), model) << "write " << n;
            ASSERT_EQ(tmp.FileCount(), 1u) << "scratch file left behind";
        }
    }
};
} // namespace

TEST_F(FailureTest, FailedFlushKeepsTheWindowDirtyAndRetries)
{
    DirtyWindow();
    const int32_t size = doc->WorkCopy().CacheSize();
    for (int n = 1; n <= 3; ++n) {
        TFileFaults::Reset();
        TFileFaults::FailNthWrite(n, EIO);
        try {
            doc->FlushCache();
            if (n == 3)
                break; // fewer writes than that: the flush got through
            FAIL() << "flush did not fail at write " << n;
        } catch (const std::system_error &) {
        }
        EXPECT_TRUE(doc->WorkCopy().CacheDirty());
        EXPECT_EQ(doc->WorkCopy().CacheSize(), size);
    }
    TFileFaults::Reset();
    EXPECT_EQ(DocBytes(*doc), model);
    EXPECT_EQ(WorkBytes(*doc), model);
}

TEST_F(FailureTest, SameSizeWindowFlushFailureIsReported)
{
    doc->OverwriteByte(1000, 1, false);
    model[1000] = 1;
    TFileFaults::FailNthWrite(1, ENOSPC);
    EXPECT_THROW(doc->FlushCache(), std::system_error);
    EXPECT_TRUE(doc->WorkCopy().CacheDirty());
    TFileFaults::Reset();
    EXPECT_EQ(WorkBytes(*doc), model);
}

TEST_F(FailureTest, DeleteRangeIsAllOrNothing)
{
    FailEveryWriteOf([&] { doc->DeleteRange(100, 600000, true); },
                     [&] { model.erase(model.begin() + 100, model.begin() + 600001); });
}

TEST_F(FailureTest, InsertBlockIsAllOrNothing)
{
    auto block = Pattern(3000, 9);
    FailEveryWriteOf([&] { doc->InsertBlock(77, block.data(), 3000, true, true); },
                     [&] { model.insert(model.begin() + 77, block.begin(), block.end()); });
}

TEST_F(FailureTest, ReplaceRangeIsAllOrNothing)
{
    auto longer = Pattern(500, 10);
    FailEveryWriteOf([&] { doc->ReplaceRange(200, 299, longer.data(), 500, true, true); },
                     [&] {
                         model.erase(model.begin() + 200, model.begin() + 300);
                         model.insert(model.begin() + 200, longer.begin(), longer.end());
                     });
    FailEveryWriteOf([&] { doc->ReplaceRange(200, 899, longer.data(), 3, true, true); },
                     [&] {
                         model.erase(model.begin() + 200, model.begin() + 900);
                         model.insert(model.begin() + 200, longer.begin(), longer.begin() + 3);
                     });
}

TEST_F(FailureTest, FailedUndoKeepsItsRecord)
{
    const auto original = model;
    doc->DeleteRange(10, 5000, true);
    model.erase(model.begin() + 10, model.begin() + 5001);
    for (int n = 1;; ++n) {
        ASSERT_LT(n, 200);
        TFileFaults::FailNthWrite(n, ENOSPC);
        bool failed = false;
        try {
            doc->UndoStep(false);
        } catch (const std::system_error &) {
            failed = true;
        }
        TFileFaults::Reset();
        if (!failed)
            break;
        ASSERT_EQ(doc->UndoCount(), 1);
        ASSERT_EQ(DocBytes(*doc), model);
    }
    EXPECT_EQ(doc->UndoCount(), 0);
    EXPECT_EQ(DocBytes(*doc), original);
}

TEST_F(FailureTest, FailedSaveLeavesTheTargetAndTheDocumentAlone)
{
    const std::string target = dir.File("f.bin");
    const auto original = ReadFileBytes(target);
    DirtyWindow();
    for (int n = 1;; ++n) {
        ASSERT_LT(n, 50);
        TFileFaults::Reset();
        TFileFaults::FailNthWrite(n, ENOSPC);
        bool ok = doc->SaveToFile(target, false);
        TFileFaults::Reset();
        if (ok)
            break;
        EXPECT_NE(doc->LastWriteError().find("No space"), std::string::npos) << doc->LastWriteError();
        EXPECT_EQ(ReadFileBytes(target), original);
        EXPECT_TRUE(doc->Modified());
        EXPECT_EQ(NamesIn(dir.Path()), (std::vector<std::string>{"f.bin"}));
        EXPECT_EQ(DocBytes(*doc), model);
    }
    EXPECT_EQ(ReadFileBytes(target), model);
    EXPECT_FALSE(doc->Modified());
}

TEST_F(FailureTest, FailedLoadCopyKeepsThePreviousDocument)
{
    DirtyWindow();
    WriteFileBytes(dir.File("other.bin"), Pattern(100000, 11));
    TFileFaults::FailNthWrite(1, ENOSPC);
    EXPECT_THROW(doc->LoadFromFile(dir.File("other.bin")), std::system_error);
    TFileFaults::Reset();
    EXPECT_EQ(doc->FileName(), dir.File("f.bin"));
    EXPECT_EQ(doc->UndoCount(), 3);
    EXPECT_EQ(DocBytes(*doc), model);
    EXPECT_EQ(tmp.FileCount(), 1u);
}
