// Saves of documents large enough to be written past the page cache: every byte arrives,
// whatever the window holds, the alignment of the size or the way the file is written, and a
// failing write leaves the target as it was.

#include "TDirectWriter.h"
#include "TFileFaults.h"
#include "TFileHandle.h"
#include "TTempFile.h"
#include "TestSupport.h"

#include <cerrno>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {
// Odd on purpose: the last block is neither whole nor aligned.
constexpr size_t kLarge = size_t(TDirectWriter::kMinSize) + 3 * TDirectWriter::kBlock / 2 + 1234;

class LargeSaveTest : public ::testing::Test {
protected:
    TScratchDir dir;
    std::string file = dir.File("large.bin");
    std::vector<uint8_t> original = Pattern(kLarge, 7);
    TVxDocument doc;

    void SetUp() override { LoadDocument(doc, file, original); }

    // Edits that leave a block edit and a dirty window that grew by one byte in the middle
    // behind (the file after it stands one byte off its place in the document), with a model.
    std::vector<uint8_t> EditEverywhere()
    {
        std::vector<uint8_t> model = original;
        const std::vector<uint8_t> block = Pattern(5000, 9);
        doc.InsertBlock(4096 * 3 + 17, block.data(), int32_t(block.size()), true, false);
        model.insert(model.begin() + 4096 * 3 + 17, block.begin(), block.end());
        doc.OverwriteByte(int32_t(model.size()) - 1, 0x5A, true);
        model.back() = 0x5A;
        const int32_t at = int32_t(model.size() / 2) + 5;
        doc.InsertByte(at, 0xA5, true);
        model.insert(model.begin() + at, 0xA5);
        doc.InsertByte(at + 7, 0xA6, true);
        model.insert(model.begin() + at + 7, 0xA6);
        doc.DeleteByte(at + 40, true);
        model.erase(model.begin() + at + 40);
        return model;
    }
};

TEST(DirectWriterTest, BlocksAndAnUnalignedTailArriveAndTheFlagIsClearedAfterwards)
{
    TScratchDir dir;
    const auto wanted = Pattern(TDirectWriter::kBlock * 2 + 777, 3);
    TFileHandle src = TFileHandle::CreateNew(dir.File("src"), 0600);
    TFileHandle dst = TFileHandle::CreateNew(dir.File("dst"), 0600);
    {
        TDirectWriter writer(src, dst, int64_t(wanted.size()));
#ifndef _WIN32 // Windows writes past the cache through a second handle, and dst's stays as it is
        // Where the file system refuses direct writes the same bytes go through the cache.
        EXPECT_EQ((::fcntl(dst.Fd(), F_GETFL) & O_DIRECT) != 0, writer.Active());
#endif
        for (size_t pos = 0; pos < wanted.size(); pos += TDirectWriter::kBlock) {
            const size_t n = std::min(TDirectWriter::kBlock, wanted.size() - pos);
            std::copy_n(wanted.begin() + long(pos), n, writer.Buffer());
            writer.Write(int64_t(pos), n);
        }
    }
#ifndef _WIN32
    EXPECT_EQ(::fcntl(dst.Fd(), F_GETFL) & O_DIRECT, 0);
#endif
    // Later writes of any alignment work as before.
    const uint8_t odd[3] = {1, 2, 3};
    dst.WriteAt(5, odd, 3);
    auto expected = wanted;
    std::copy_n(odd, 3, expected.begin() + 5);
    EXPECT_EQ(ReadFileBytes(dir.File("dst")), expected);
}

TEST_F(LargeSaveTest, EveryByteArrivesInANewFileAndInPlace)
{
    const auto model = EditEverywhere();
    ASSERT_TRUE(doc.SaveToFile(file, true)) << doc.LastWriteError();
    EXPECT_EQ(ReadFileBytes(file), model);

    // A second name makes the file one that is written where it is.
    MakeHardLink(file, dir.File("other-name.bin"));
    doc.DeleteRange(10, 20000, true);
    auto shorter = model;
    shorter.erase(shorter.begin() + 10, shorter.begin() + 20001);
    ASSERT_TRUE(doc.SaveToFile(file, true)) << doc.LastWriteError();
    EXPECT_EQ(ReadFileBytes(dir.File("other-name.bin")), shorter);
    EXPECT_EQ(DocBytes(doc), shorter);
}

TEST_F(LargeSaveTest, AFailingWriteLeavesTheTargetAsItWas)
{
    const auto model = EditEverywhere();
    for (int n : {1, 2, 5}) {
        TFileFaults::FailNthWrite(n, ENOSPC);
        const bool ok = doc.SaveToFile(file, true);
        TFileFaults::Reset();
        EXPECT_FALSE(ok) << "write " << n;
        EXPECT_EQ(ReadFileBytes(file), original) << "write " << n;
    }
    ASSERT_TRUE(doc.SaveToFile(file, true)) << doc.LastWriteError();
    EXPECT_EQ(ReadFileBytes(file), model);
}
} // namespace
