// The dump line of copy-as-text and printing, and inserting a file's bytes.

#include "TFileFaults.h"
#include "TVxDumpText.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <system_error>

namespace {
struct DumpTextTest : ::testing::Test {
    TScratchDir dir;
    TVxDocument doc;
    void SetUp() override
    {
        std::vector<uint8_t> bytes(48);
        for (size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<uint8_t>(0xA0 + i % 16);
        LoadDocument(doc, dir.File("d.bin"), bytes);
    }
    std::string Line(int group, int32_t from = 0, int32_t to = 47, bool hide = false)
    {
        return TVxDumpText::GetDumpLine(doc, from, to, 1, group, hide);
    }
};
} // namespace

TEST_F(DumpTextTest, BytesAreGroupedByTheColumnWidth)
{
    EXPECT_EQ(Line(1), "0000010: A0 A1 A2 A3 A4 A5 A6 A7 A8 A9 AA AB AC AD AE AF");
    EXPECT_EQ(Line(2), "0000010: A0A1 A2A3 A4A5 A6A7 A8A9 AAAB ACAD AEAF");
    EXPECT_EQ(Line(4), "0000010: A0A1A2A3 A4A5A6A7 A8A9AAAB ACADAEAF");
    EXPECT_EQ(Line(8), "0000010: A0A1A2A3A4A5A6A7 A8A9AAABACADAEAF");
    EXPECT_EQ(Line(16), "0000010: A0A1A2A3A4A5A6A7A8A9AAABACADAEAF");
    EXPECT_EQ(Line(1, 0, 47, true), " A0 A1 A2 A3 A4 A5 A6 A7 A8 A9 AA AB AC AD AE AF");
}

TEST_F(DumpTextTest, OffsetsOutsideTheRangeAreBlank)
{
    EXPECT_EQ(Line(1, 18), "0000010:       A2 A3 A4 A5 A6 A7 A8 A9 AA AB AC AD AE AF");
    EXPECT_EQ(TVxDumpText::DumpRange(doc, 33, 18, 1, false),
              "0000010:       A2 A3 A4 A5 A6 A7 A8 A9 AA AB AC AD AE AF\n"
              "0000020: A0 A1                                          \n");
}

TEST_F(DumpTextTest, LongAddressesKeepAllTheirDigits)
{
    const std::string line = TVxDumpText::GetDumpLine(doc, 0, -1, 0x1000000, 1, false);
    EXPECT_EQ(line.substr(0, 9), "10000000:");
}

TEST_F(DumpTextTest, InsertFileCopiesItsBytesInOnePieceAndUndoes)
{
    auto original = DocBytes(doc);
    auto add = Pattern(70000, 4);
    WriteFileBytes(dir.File("add.bin"), add);
    WriteFileBytes(dir.File("empty.bin"), {});
    EXPECT_EQ(doc.InsertFile(5, dir.File("empty.bin"), true), 0);
    EXPECT_EQ(doc.UndoCount(), 0);

    EXPECT_EQ(doc.InsertFile(5, dir.File("add.bin"), true), 70000);
    auto expect = original;
    expect.insert(expect.begin() + 5, add.begin(), add.end());
    EXPECT_EQ(DocBytes(doc), expect);
    EXPECT_EQ(doc.UndoList().Newest().Kind, ukInsertRange);
    EXPECT_EQ(doc.UndoList().Newest().End, 5 + 70000 - 1);

    TFileFaults::FailNthWrite(2, ENOSPC); // half way: the space is reserved, the tail not yet moved back
    EXPECT_THROW(doc.InsertFile(0, dir.File("add.bin"), true), std::system_error);
    TFileFaults::Reset();
    EXPECT_EQ(DocBytes(doc), expect);
    EXPECT_EQ(doc.UndoCount(), 1);

    doc.Undo();
    EXPECT_EQ(DocBytes(doc), original);
    EXPECT_THROW(doc.InsertFile(0, dir.File("missing.bin"), true), std::system_error);
}
