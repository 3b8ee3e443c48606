// The working copy and its cache window: where the window lands, when it reloads, and that a
// resized window is spliced back into the file correctly.

#include "TFileFaults.h"
#include "TFileIdentity.h"
#include "TTempFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {
constexpr int32_t W = TVxWorkCopy::kCacheSize;

struct WorkCopyTest : ::testing::Test {
    TScratchDir dir;
    TVxDocument doc;
    std::vector<uint8_t> data;

    void LoadPattern(size_t n)
    {
        data = Pattern(n);
        LoadDocument(doc, dir.File("src.bin"), data);
    }
};
} // namespace

TEST_F(WorkCopyTest, NewDocumentIsEmptyWithAPrivateWorkingCopy)
{
    EXPECT_EQ(doc.FileSize(), 0);
    EXPECT_TRUE(doc.FileName().empty());
    EXPECT_TRUE(doc.WorkCopyError().empty());
    const TFileHandle &work = doc.WorkCopy().Handle();
    EXPECT_EQ(work.Kind(), TFileHandle::TKind::Regular);
    EXPECT_EQ(work.Length(), 0);
    // In the temporary folder's file system.
    EXPECT_EQ(TFileIdentity::Of(work).Dev, TFileIdentity::Of(TTempFile::TempDir()).Dev);
#ifndef _WIN32 // Windows: the private folder's permissions are the file's
    struct stat st;
    ASSERT_EQ(::fstat(work.Fd(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
#endif
    EXPECT_TRUE(doc.ReadBytes(0, 10).empty());
}

TEST_F(WorkCopyTest, WindowCentresOnTheRequestAndReloadsOnlyWhenARowLeavesIt)
{
    LoadPattern(200000);
    const auto &w = doc.WorkCopy();
    EXPECT_EQ(w.CacheStart(), -1);
    const int32_t x = 100000;
    doc.LoadCache(x);
    EXPECT_EQ(w.CacheStart(), x - W / 2);
    TFileFaults::Reset();
    doc.LoadCache(x - W / 2);              // first byte of the window
    doc.LoadCache(x + W / 2 - 16);         // last full row of the window
    EXPECT_EQ(w.CacheStart(), x - W / 2);
    EXPECT_EQ(TFileFaults::ReadCount(), 0);
    doc.LoadCache(x + W / 2 - 15);         // its row would run past the end
    EXPECT_EQ(w.CacheStart(), x + W / 2 - 15 - W / 2);
    doc.LoadCache(10);
    EXPECT_EQ(w.CacheStart(), 0);
    EXPECT_EQ(doc.ByteAt(10), data[10]);
    EXPECT_EQ(doc.ByteAt(199999), data[199999]);
}

TEST_F(WorkCopyTest, SingleByteEditsStayInTheWindowUntilItMoves)
{
    LoadPattern(5 * W);
    const int32_t mid = 2 * W + 77;
    TFileFaults::Reset();
    for (int i = 0; i < 50; ++i)
        doc.DeleteByte(mid, false);
    for (int i = 0; i < 20; ++i)
        doc.InsertByte(mid + 3, static_cast<uint8_t>(i), false);
    EXPECT_EQ(TFileFaults::WriteCount(), 0);
    EXPECT_EQ(doc.WorkCopy().CacheSize(), W - 30);

    data.erase(data.begin() + mid, data.begin() + mid + 50);
    for (int i = 0; i < 20; ++i)
        data.insert(data.begin() + mid + 3, static_cast<uint8_t>(i));
    doc.LoadCache(10); // far away: forces the splice of the resized window
    EXPECT_EQ(doc.FileSize(), static_cast<int32_t>(data.size()));
    EXPECT_EQ(WorkBytes(doc), data);
    EXPECT_EQ(doc.WorkCopy().CacheSize(), W);
}

TEST_F(WorkCopyTest, WindowReachingPastTheEndFlushesToExactlyFileSize)
{
    LoadPattern(W + 100);
    const int32_t last = doc.FileSize() - 1;
    doc.InsertByte(doc.FileSize(), 0xAA, false); // append
    doc.DeleteByte(last - 5, false);
    doc.DeleteByte(last - 5, false);
    doc.InsertByte(3 + last - W / 2, 0x55, false);
    data.push_back(0xAA);
    data.erase(data.begin() + last - 5, data.begin() + last - 3);
    data.insert(data.begin() + 3 + last - W / 2, 0x55);
    EXPECT_EQ(DocBytes(doc), data);
    EXPECT_EQ(WorkBytes(doc), data);
}

TEST_F(WorkCopyTest, LoadingDiscardsPendingInsertsOfThePreviousDocument)
{
    LoadPattern(3 * W);
    for (int i = 0; i < 100; ++i)
        doc.InsertByte(W, 1, false);
    auto other = Pattern(1000, 7);
    WriteFileBytes(dir.File("other.bin"), other);
    doc.LoadFromFile(dir.File("other.bin"));
    EXPECT_EQ(doc.WorkCopy().CacheSize(), W);
    EXPECT_FALSE(doc.WorkCopy().CacheDirty());
    EXPECT_EQ(DocBytes(doc), other);
    EXPECT_EQ(WorkBytes(doc), other);
}

TEST_F(WorkCopyTest, ShiftTailNeverRemovesMoreThanTheBytesBeforeOffset)
{
    LoadPattern(100);
    doc.ShiftTail(10, -25);
    data.erase(data.begin(), data.begin() + 10);
    EXPECT_EQ(DocBytes(doc), data);
    EXPECT_EQ(WorkBytes(doc), data);
}

TEST_F(WorkCopyTest, FlushedResizedWindowNeverWritesStaleBytesBack)
{
    LoadPattern(2 * W);
    doc.DeleteByte(100, false);
    data.erase(data.begin() + 100);
    ASSERT_TRUE(doc.WriteToFile(dir.File("out.bin"))); // flushes the shrunken window
    doc.OverwriteByte(5, 0x5A, false);                 // dirties whatever window is current
    data[5] = 0x5A;
    EXPECT_EQ(WorkBytes(doc), data);
    EXPECT_EQ(ReadFileBytes(dir.File("out.bin")).size(), data.size());
}
