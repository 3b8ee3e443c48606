// The engine's bulk paths that search and replace stand on: ReadInto (bulk reads that leave
// the window alone) and ReplaceRanges (many replacements as one edit, in the window or by a
// rewrite), with its records, its undo in one pass and its all-or-nothing failures. That
// its records equal those of one replacement at a time is held against the byte-by-byte
// replace in ReplacerTest.

#include "TFileFaults.h"
#include "TestSupport.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <system_error>

namespace {
constexpr int32_t W = TVxWorkCopy::kCacheSize;

struct SpliceTest : ::testing::Test {
    TScratchDir dir;
    TPrivateTempDir tmp;
    TNamedTempFiles named; // the working copy is the one file expected in tmp
    std::unique_ptr<TVxDocument> doc;
    std::vector<uint8_t> model;

    void SetUp() override
    {
        doc = std::make_unique<TVxDocument>();
        Load(Pattern(300000, 21));
    }
    void TearDown() override
    {
        TFileFaults::Reset();
        doc.reset();
    }
    void Load(std::vector<uint8_t> bytes)
    {
        model = std::move(bytes);
        LoadDocument(*doc, dir.File("f.bin"), model);
    }
    // A resized dirty window around `at`, mirrored in the model.
    void DirtyWindow(int32_t at)
    {
        doc->InsertByte(at, 0xAB, true);
        doc->DeleteByte(at + 5, true);
        doc->InsertByte(at + 9, 0xCD, true);
        doc->InsertByte(at + 10, 0xEF, true);
        model.insert(model.begin() + at, 0xAB);
        model.erase(model.begin() + at + 5);
        model.insert(model.begin() + at + 9, 0xCD);
        model.insert(model.begin() + at + 10, 0xEF);
    }
    static void ApplyToModel(std::vector<uint8_t> &m, const std::vector<TVxSplice> &splices)
    {
        std::vector<uint8_t> out;
        size_t pos = 0;
        for (const TVxSplice &s : splices) {
            out.insert(out.end(), m.begin() + static_cast<long>(pos), m.begin() + s.Offset);
            out.insert(out.end(), s.Data, s.Data + s.NewCount);
            pos = static_cast<size_t>(s.Offset + s.OldCount);
        }
        out.insert(out.end(), m.begin() + static_cast<long>(pos), m.end());
        m.swap(out);
    }
};
} // namespace

TEST_F(SpliceTest, ReadIntoComposesWindowAndFileWithoutMovingTheWindow)
{
    DirtyWindow(100000);
    const int32_t start = doc->WorkCopy().CacheStart();
    TFileFaults::Reset();
    // Ranges before, across and after the resized window, and past the end.
    for (auto [from, count] : std::vector<std::pair<int32_t, int32_t>>{
             {0, 1000}, {start - 10, 40}, {start + 100, W}, {start - 5000, 3 * W}, {120000, 5000},
             {doc->FileSize() - 10, 100}, {doc->FileSize(), 10}, {0, doc->FileSize()}}) {
        std::vector<uint8_t> buf(static_cast<size_t>(count) + 1, 0x55);
        int32_t got = doc->ReadInto(from, buf.data(), count);
        const int32_t expect = std::max(0, std::min(count, doc->FileSize() - from));
        ASSERT_EQ(got, expect) << from;
        EXPECT_TRUE(std::equal(buf.begin(), buf.begin() + got, model.begin() + from)) << from;
        EXPECT_EQ(buf[size_t(got)], 0x55) << "wrote past the count";
    }
    EXPECT_EQ(doc->WorkCopy().CacheStart(), start);
    EXPECT_TRUE(doc->WorkCopy().CacheDirty());
    EXPECT_EQ(TFileFaults::WriteCount(), 0);
}

TEST_F(SpliceTest, SplicesInsideTheWindowNeedNoFileIo)
{
    doc->LoadCache(150000);
    const std::string a = "xyz";
    std::vector<TVxSplice> splices{{149000, 2, reinterpret_cast<const uint8_t *>(a.data()), 3},
                                   {149002, 4, nullptr, 0},
                                   {150500, 1, reinterpret_cast<const uint8_t *>(a.data()), 1}};
    TFileFaults::Reset();
    doc->ReplaceRanges(splices, true, true);
    EXPECT_EQ(TFileFaults::WriteCount(), 0);
    EXPECT_EQ(TFileFaults::ReadCount(), 0);
    const auto original = model;
    ApplyToModel(model, splices);
    // Read where the window holds the bytes, so the check itself needs no I/O either.
    EXPECT_EQ(doc->ReadBytes(140000, 20000), std::vector<uint8_t>(model.begin() + 140000, model.begin() + 160000));
    // Its undo, one group, takes the same way back.
    doc->Undo();
    EXPECT_EQ(TFileFaults::WriteCount(), 0);
    EXPECT_EQ(TFileFaults::ReadCount(), 0);
    EXPECT_EQ(DocBytes(*doc), original);
    EXPECT_EQ(WorkBytes(*doc), original);
}

TEST_F(SpliceTest, RecordsDescribeEachSpliceWhereItLandsThenOneUndoRevertsAll)
{
    // Spread over the file, with a gap long enough for a kernel copy: a rewrite. Replace,
    // delete, an insertion right after the deletion, one at the very end.
    Load(Pattern(3 << 20, 22));
    const auto original = model;
    const int32_t end = int32_t(model.size());
    const std::string r5 = "12345";
    const auto *d = reinterpret_cast<const uint8_t *>(r5.data());
    std::vector<TVxSplice> splices{{10, 3, d, 5}, {100, 4, nullptr, 0}, {104, 0, d, 2}, {200000, 1, d, 1},
                                   {end - 10, 10, d, 5}};
    doc->ReplaceRanges(splices, true, true);
    ApplyToModel(model, splices);
    EXPECT_EQ(DocBytes(*doc), model);

    const TVxUndoList &u = doc->UndoList();
    ASSERT_EQ(u.Count(), 6);
    EXPECT_EQ(u.At(0).Kind, ukReplaceRange);
    EXPECT_EQ(u.At(0).Start, 10);
    EXPECT_EQ(u.At(0).End, 14);
    EXPECT_EQ(u.At(0).Count, 3);
    EXPECT_TRUE(std::equal(original.begin() + 10, original.begin() + 13, u.At(0).Data.Bytes()));
    EXPECT_EQ(u.At(1).Kind, ukDeleteRange);
    EXPECT_EQ(u.At(1).Start, 102); // shifted by the first splice's +2
    EXPECT_EQ(u.At(1).End, 105);
    EXPECT_TRUE(std::equal(original.begin() + 100, original.begin() + 104, u.At(1).Data.Bytes()));
    EXPECT_EQ(u.At(2).Kind, ukInsertRange);
    EXPECT_EQ(u.At(2).Start, 102);
    EXPECT_EQ(u.At(4).Start, end - 10 + 2 - 4 + 2);
    EXPECT_EQ(u.At(5).Kind, ukGroup);
    EXPECT_EQ(u.At(5).Count, 5);

    doc->Undo();
    EXPECT_EQ(doc->UndoCount(), 0);
    EXPECT_EQ(DocBytes(*doc), original);
    EXPECT_EQ(WorkBytes(*doc), original);
}

TEST_F(SpliceTest, RewriteIsAllOrNothing)
{
    const std::string rep = "<>";
    std::vector<TVxSplice> splices;
    for (int32_t p = 5; p + 3 < int32_t(model.size()); p += 7919)
        splices.push_back({p, 3, reinterpret_cast<const uint8_t *>(rep.data()), 2});
    DirtyWindow(200000);
    // DirtyWindow moved the bytes after 200000; the splices there still fit its model.
    const int32_t undo = doc->UndoCount();
    for (int n = 1;; ++n) {
        ASSERT_LT(n, 200) << "never completed";
        TFileFaults::Reset();
        TFileFaults::FailNthWrite(n, ENOSPC);
        bool failed = false;
        try {
            doc->ReplaceRanges(splices, true, true);
        } catch (const std::system_error &e) {
            failed = true;
            EXPECT_EQ(e.code().value(), ENOSPC);
        }
        TFileFaults::Reset();
        if (!failed)
            break;
        ASSERT_EQ(doc->UndoCount(), undo) << "write " << n;
        ASSERT_EQ(DocBytes(*doc), model) << "write " << n;
        ASSERT_EQ(tmp.FileCount(), 1u) << "scratch file left behind at write " << n;
    }
    ApplyToModel(model, splices);
    EXPECT_EQ(DocBytes(*doc), model);
    EXPECT_EQ(tmp.FileCount(), 1u);

    // And its undo: a failed one-pass revert keeps every record.
    const int32_t before = doc->UndoCount();
    TFileFaults::FailNthWrite(3, ENOSPC);
    EXPECT_THROW(doc->Undo(), std::system_error);
    TFileFaults::Reset();
    EXPECT_EQ(doc->UndoCount(), before);
    EXPECT_EQ(DocBytes(*doc), model);
}

TEST_F(SpliceTest, MalformedListsAndSizeLimitChangeNothing)
{
    const std::string r = "ab";
    const auto *d = reinterpret_cast<const uint8_t *>(r.data());
    const std::vector<std::vector<TVxSplice>> bad{
        {{100, 5, d, 2}, {102, 1, d, 2}},          // overlap
        {{100, 1, d, 2}, {50, 1, d, 2}},           // out of order
        {{doc->FileSize() - 1, 2, d, 2}},          // past the end
        {{10, 0, d, 0}},                           // empty
        {{-1, 1, d, 1}},
    };
    for (const auto &list : bad)
        EXPECT_THROW(doc->ReplaceRanges(list, true, true), std::invalid_argument);
    EXPECT_EQ(doc->UndoCount(), 0);
    EXPECT_EQ(DocBytes(*doc), model);
}
