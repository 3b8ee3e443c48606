// A temporary folder that takes no more writes, or none at all: the user is told once, can
// still look at and move through the whole document, undo, and save it elsewhere.

#include "TFileFaults.h"
#include "TTempFile.h"
#include "TestSupport.h"

#include <cerrno>
#include <cstdlib>
#include <gtest/gtest.h>
#include <system_error>

namespace {
struct FullTempTest : ::testing::Test {
    TScratchDir dir;
    TPrivateTempDir tmp;
    TVxDocument doc;
    TRecordingHooks hooks;
    std::vector<uint8_t> model = Pattern(1 << 20, 8);

    void SetUp() override
    {
        hooks.Attach(doc);
        LoadDocument(doc, dir.File("big.bin"), model);
        // Unflushed work in the middle: a resized window.
        doc.InsertByte(500000, 0xA1, true);
        doc.OverwriteByte(500010, 0xA2, true);
        model.insert(model.begin() + 500000, 0xA1);
        model[500010] = 0xA2;
        TFileFaults::FailWritesTo(doc.WorkCopy().Handle().Fd(), ENOSPC);
    }
    void TearDown() override { TFileFaults::Reset(); }
    size_t FullNotices() const { return static_cast<size_t>(std::count(hooks.Log.begin(), hooks.Log.end(), "full")); }
};
} // namespace

TEST_F(FullTempTest, EveryByteStaysReadableAndTheUserIsToldOnce)
{
    for (int32_t at : {0, 100000, 900000, 1048575, 500000, 3}) {
        EXPECT_EQ(doc.ByteAt(at), model[static_cast<size_t>(at)]) << at;
        EXPECT_EQ(doc.ByteAt(at + 1), model[static_cast<size_t>(at) + 1]) << at;
    }
    EXPECT_EQ(DocBytes(doc), model);
    EXPECT_TRUE(doc.WorkCopy().Pinned());
    ASSERT_EQ(FullNotices(), 1u);
    const std::string &notice = hooks.Questions.back();
    EXPECT_EQ(notice.rfind("full:" + dir.File("big.bin") + "|", 0), 0u) << "names the user's file: " << notice;
    EXPECT_EQ(notice.find(TTempFile::TempDir()), std::string::npos) << notice;
}

TEST_F(FullTempTest, EditsInTheWindowAndUndoGoOnEditsElsewhereAreRefused)
{
    doc.ByteAt(10); // pins
    doc.OverwriteByte(500020, 0xA3, true);
    model[500020] = 0xA3;
    EXPECT_EQ(DocBytes(doc), model);
    const int32_t undo = doc.UndoCount();
    EXPECT_THROW(doc.OverwriteByte(10, 0x55, true), std::system_error);
    EXPECT_THROW(doc.DeleteRange(10, 20, true), std::system_error);
    EXPECT_EQ(doc.UndoCount(), undo);
    EXPECT_EQ(DocBytes(doc), model);

    doc.Undo();
    doc.Undo();
    doc.Undo();
    EXPECT_EQ(doc.UndoCount(), 0);
    EXPECT_EQ(DocBytes(doc), Pattern(1 << 20, 8));
    EXPECT_EQ(FullNotices(), 1u);
}

TEST_F(FullTempTest, TheDocumentSavesToAnotherDiskWithoutFlushing)
{
    doc.ByteAt(10);
    const std::string elsewhere = dir.File("rescued.bin");
    ASSERT_TRUE(doc.SaveToFile(elsewhere, true)) << doc.LastWriteError();
    EXPECT_EQ(ReadFileBytes(elsewhere), model);
    EXPECT_FALSE(doc.Modified());
    EXPECT_EQ(doc.FileName(), elsewhere);

    // Space again: the next move away writes the window back, and a new shortage tells again.
    TFileFaults::Reset();
    doc.ByteAt(200000);
    EXPECT_FALSE(doc.WorkCopy().Pinned());
    EXPECT_EQ(WorkBytes(doc), model);
    doc.OverwriteByte(7, 1, true);
    TFileFaults::FailWritesTo(doc.WorkCopy().Handle().Fd(), ENOSPC);
    doc.ByteAt(1000000);
    EXPECT_EQ(FullNotices(), 2u);
}

TEST(NoTempFolderTest, AnEmptyDocumentSaysWhyAndRecoversWhenAFolderWorks)
{
    TScratchDir dir;
    TPrivateTempDir tmp;
    const std::string good = TTempFile::TempDir();
    SetTempFolderVariable("/nonexistent-hexcavator");
    TTempFile::SetFallbackDir("/nonexistent-hexcavator-fallback");
    {
        TVxDocument doc;
        EXPECT_NE(doc.WorkCopyError().find("/nonexistent-hexcavator-fallback"), std::string::npos)
            << doc.WorkCopyError();
        EXPECT_EQ(doc.FileSize(), 0);
        EXPECT_TRUE(doc.ReadBytes(0, 16).empty());
        WriteFileBytes(dir.File("a.bin"), {1, 2, 3});
        EXPECT_THROW(doc.LoadFromFile(dir.File("a.bin")), std::system_error);
        EXPECT_EQ(doc.FileSize(), 0);

        TTempFile::SetFallbackDir(good);
        doc.LoadFromFile(dir.File("a.bin"));
        EXPECT_TRUE(doc.WorkCopyError().empty());
        EXPECT_EQ(DocBytes(doc), (std::vector<uint8_t>{1, 2, 3}));
    }
    TTempFile::SetFallbackDir(std::string());
}
