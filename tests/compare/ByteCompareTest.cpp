// Byte-by-byte compare against the plain loop, through memory, the document and a file.

#include "CompareReference.h"
#include "TVxCompare.h"
#include "TVxDocumentSource.h"
#include "TVxFileSource.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {
TVxDiffList Bytes(const TBytes &a, const TBytes &b, int64_t block, size_t cap = TVxDiffList::kDefaultCap)
{
    TMemorySource sa(a), sb(b);
    TVxCompareOptions o;
    o.Block = block;
    o.MaxHunks = cap;
    return TVxCompare::Run(TVxCompare::TMode::Bytes, sa, sb, o);
}
} // namespace

TEST(ByteCompare, RandomFilesMatchThePlainLoopAtEveryBlockSize)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 400; ++round) {
        TBytes a = RandomBytes(rng, rng() % 3000);
        TBytes b = a;
        // Sparse flips, a few dense runs, and now and then a changed length.
        const int flips = int(rng() % 20);
        for (int f = 0; f < flips && !b.empty(); ++f) {
            const size_t at = rng() % b.size(), len = 1 + rng() % (round % 3 == 0 ? 300 : 4);
            for (size_t i = at; i < std::min(b.size(), at + len); ++i)
                b[i] = uint8_t(b[i] + 1 + rng() % 255);
        }
        if (round % 4 == 1)
            b.resize(rng() % (b.size() + 200), 0x5a);
        const int64_t block = std::vector<int64_t>{1, 7, 64, 100, 4096, 1 << 20}[size_t(round) % 6];
        const TVxDiffList got = Bytes(a, b, block);
        ASSERT_EQ(got.Hunks(), NaiveByteHunks(a, b)) << "round " << round << " block " << block;
        ASSERT_FALSE(got.Truncated());
        ASSERT_EQ(EditScriptError(got, a, b), "");
    }
}

TEST(ByteCompare, EdgeCases)
{
    std::mt19937 rng(3);
    const TBytes x = RandomBytes(rng, 5000);
    const TBytes prefix(x.begin(), x.begin() + 1234);
    EXPECT_EQ(Bytes({}, {}, 64).Count(), 0u);
    EXPECT_EQ(Bytes(x, x, 64).Count(), 0u);
    EXPECT_EQ(Bytes({}, x, 64).Hunks(), (std::vector<TVxDiffHunk>{{0, 0, 0, 5000}}));
    EXPECT_EQ(Bytes(x, {}, 64).Hunks(), (std::vector<TVxDiffHunk>{{0, 5000, 0, 0}}));
    EXPECT_EQ(Bytes(prefix, x, 64).Hunks(), (std::vector<TVxDiffHunk>{{1234, 0, 1234, 5000 - 1234}}));
    EXPECT_EQ(Bytes(x, prefix, 64).Hunks(), (std::vector<TVxDiffHunk>{{1234, 5000 - 1234, 1234, 0}}));
    // A differing run that reaches the shorter file's end joins the tail.
    TBytes cut = prefix;
    cut.back() ^= 1;
    EXPECT_EQ(Bytes(x, cut, 64).Hunks(), (std::vector<TVxDiffHunk>{{1233, 5000 - 1233, 1233, 1}}));
}

TEST(ByteCompare, TheCapKeepsTheFirstHunksAndSaysSo)
{
    std::mt19937 rng(11);
    const TBytes a = RandomBytes(rng, 20000), b = RandomBytes(rng, 20000);
    const TVxDiffList all = Bytes(a, b, 512);
    ASSERT_GT(all.Count(), 50u);
    const TVxDiffList cut = Bytes(a, b, 512, 50);
    EXPECT_TRUE(cut.Truncated());
    ASSERT_EQ(cut.Count(), 50u);
    EXPECT_TRUE(std::equal(cut.Hunks().begin(), cut.Hunks().end(), all.Hunks().begin()));
    // Exactly as many hunks as the cap allows is no cut.
    const TVxDiffList exact = Bytes(a, b, 512, all.Count());
    EXPECT_FALSE(exact.Truncated());
    EXPECT_EQ(exact.Hunks(), all.Hunks());
}

TEST(ByteCompare, DocumentWithAnEditedWindowAgainstAFile)
{
    TScratchDir dir;
    TVxDocument doc;
    TBytes a = Pattern(300000, 5), b = a;
    LoadDocument(doc, dir.File("a.bin"), a);
    // Edits held only in the cache window, and one that moved the tail: the source must read
    // the document as it stands, not the file under it.
    doc.OverwriteByte(150000, uint8_t(a[150000] ^ 0xff), false);
    doc.InsertByte(200000, 0x42, false);
    a = DocBytes(doc);
    for (size_t i : {0ul, 99999ul, 100000ul, 250000ul})
        b[i] ^= 0x10;
    WriteFileBytes(dir.File("b.bin"), b);
    TVxDocumentSource sa(doc);
    TVxFileSource sb(dir.File("b.bin"));
    TVxCompareOptions o;
    o.Block = 65536;
    const TVxDiffList got = TVxCompare::Run(TVxCompare::TMode::Bytes, sa, sb, o);
    EXPECT_EQ(got.Hunks(), NaiveByteHunks(a, b));
    EXPECT_EQ(got.SizeA(), int64_t(a.size()));
    EXPECT_THROW(TVxFileSource(dir.File("missing.bin")), std::system_error);
    EXPECT_THROW(TVxFileSource(dir.Path()), std::runtime_error);
}
