// Replacing, single and all: the cases its users meet, the same results and undo records as
// the algorithm written out byte by byte, one undo step for a replace-all, and matches
// longer than the cache window.

#include "NaiveReference.h"
#include "TVxReplacer.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <random>

namespace {
constexpr int32_t W = TVxWorkCopy::kCacheSize;

struct ReplacerTest : ::testing::Test {
    TScratchDir dir;
    TVxDocument doc;
    std::vector<uint8_t> data;

    void Load(std::vector<uint8_t> bytes)
    {
        data = std::move(bytes);
        LoadDocument(doc, dir.File("r.bin"), data);
    }
    void Load(const std::string &s) { Load(std::vector<uint8_t>(s.begin(), s.end())); }
    std::string Text()
    {
        auto b = DocBytes(doc);
        return std::string(b.begin(), b.end());
    }
    TVxReplaceResult Replace(int32_t start, const std::string &f, const std::string &r, bool all, bool ic = false)
    {
        return TVxReplacer(doc).Replace(start, f, r, all, ic);
    }
};

void ExpectSameRecords(const TVxDocument &doc, int32_t from, const std::vector<naive::Record> &expected,
                       const std::string &where)
{
    ASSERT_EQ(doc.UndoCount() - from, int32_t(expected.size())) << where;
    for (size_t i = 0; i < expected.size(); ++i) {
        const TVxUndoRecord &r = doc.UndoList().At(from + int32_t(i));
        const naive::Record &e = expected[i];
        ASSERT_EQ(int(r.Kind), e.Kind) << where << " record " << i;
        ASSERT_EQ(r.Start, e.Start) << where << " record " << i;
        if (e.Kind != 6) {
            ASSERT_EQ(r.End, e.End) << where << " record " << i;
        }
        ASSERT_EQ(r.Count, e.Count) << where << " record " << i;
        ASSERT_EQ(std::vector<uint8_t>(r.Data.Bytes(), r.Data.Bytes() + r.DataSize()), e.Data)
            << where << " record " << i;
    }
}
} // namespace

TEST_F(ReplacerTest, UsersCases)
{
    Load("aaa");
    EXPECT_EQ(Replace(0, "a", "aa", true).Count, 3);
    EXPECT_EQ(Text(), "aaaaaa");

    Load("abab");
    EXPECT_EQ(Replace(0, "ab", "", true).Count, 2);
    EXPECT_EQ(Text(), "");

    Load("aa");
    EXPECT_EQ(Replace(0, "a", "ba", true).Count, 2);
    EXPECT_EQ(Text(), "baba");

    // Single replace selects the replacement with the caret on its last byte; the next one
    // starts at the caret the user leaves there.
    Load("abca");
    TVxReplaceResult r = Replace(0, "a", "xyz", false);
    EXPECT_EQ(r.Count, 1);
    EXPECT_EQ(r.SelAnchor, 0);
    EXPECT_EQ(r.SelExtent, 2);
    EXPECT_EQ(r.Caret, 2);
    EXPECT_EQ(Text(), "xyzbca");
    r = Replace(r.Caret, "a", "xyz", false);
    EXPECT_EQ(r.SelAnchor, 5);
    EXPECT_EQ(Text(), "xyzbcxyz");

    // Not found: nothing changes, not even the history.
    EXPECT_EQ(Replace(0, "q", "z", true).Count, 0);
    EXPECT_EQ(Replace(0, "q", "z", false).Count, 0);
    EXPECT_EQ(Replace(0, "", "z", true).Count, 0);
    EXPECT_EQ(doc.UndoCount(), 2);
    EXPECT_EQ(Text(), "xyzbcxyz");
}

TEST_F(ReplacerTest, SingleReplaceByNothingLeavesTheCaretOnTheFollowingByte)
{
    Load("abcabc");
    TVxReplaceResult r = Replace(1, "abc", "", false);
    EXPECT_EQ(Text(), "abc");
    EXPECT_EQ(r.SelAnchor, -1);
    EXPECT_EQ(r.SelExtent, -1);
    EXPECT_EQ(r.Caret, 3); // the end position: nothing followed the match
    r = Replace(0, "b", "", false);
    EXPECT_EQ(r.Caret, 1);
    EXPECT_EQ(Text(), "ac");
}

TEST_F(ReplacerTest, OneUndoRevertsAReplaceAllAndAReplaceAtOffsetZero)
{
    Load("a-a-a");
    Replace(0, "a", "bcd", true);
    EXPECT_EQ(Text(), "bcd-bcd-bcd");
    EXPECT_EQ(doc.UndoCount(), 4);
    doc.Undo();
    EXPECT_EQ(Text(), "a-a-a");
    EXPECT_EQ(doc.UndoCount(), 0);

    Load("xyz");
    Replace(0, "x", "", false);
    EXPECT_EQ(Text(), "yz");
    doc.Undo();
    EXPECT_EQ(Text(), "xyz");
    EXPECT_EQ(doc.UndoCount(), 0);
}

TEST_F(ReplacerTest, ShorterReplacementInALargeFileKeepsEveryByteAfterIt)
{
    auto bytes = Pattern(10 * W + 77, 8);
    const std::string f = "FINDME", r = "r";
    std::copy(f.begin(), f.end(), bytes.begin() + 5 * W + 3);
    std::copy(f.begin(), f.end(), bytes.begin() + 9 * W);
    Load(bytes);
    EXPECT_EQ(Replace(100, f, r, false).SelAnchor, 5 * W + 3);
    EXPECT_EQ(Replace(0, f, r, true).Count, 1);
    std::vector<naive::Record> records;
    naive::Replace(data, 0, f, r, true, false, records);
    EXPECT_EQ(doc.FileSize(), int32_t(bytes.size()) - 10);
    EXPECT_EQ(DocBytes(doc), data);
    EXPECT_EQ(WorkBytes(doc), data);
}

TEST_F(ReplacerTest, MatchesLongerThanTheWindow)
{
    auto bytes = Pattern(6 * W, 12);
    std::string f(W + 999, '\0');
    for (size_t i = 0; i < f.size(); ++i)
        f[i] = static_cast<char>('A' + i % 26);
    std::copy(f.begin(), f.end(), bytes.begin() + 2 * W - 5);
    std::copy(f.begin(), f.end(), bytes.begin() + 4 * W);
    Load(bytes);
    const auto original = data;
    for (bool all : {false, true}) {
        SCOPED_TRACE(all);
        std::vector<naive::Record> expected;
        std::vector<uint8_t> model = original;
        naive::Replace(model, 0, f, "<short>", all, true, expected);
        const int32_t from = doc.UndoCount();
        EXPECT_EQ(Replace(0, f, "<short>", all, true).Count, all ? 2 : 1);
        EXPECT_EQ(DocBytes(doc), model);
        ExpectSameRecords(doc, from, expected, "long match");
        doc.Undo();
        EXPECT_EQ(DocBytes(doc), original);
    }
}

TEST_F(ReplacerTest, EqualsTheAlgorithmByteByByte)
{
    // Data and texts from a small alphabet with letters of both cases and lead bytes, so that
    // matches are dense, adjacent and overlapping, and folding after a replacement counts.
    const uint8_t alpha[] = {'a', 'A', 'b', 'B', 0x83, 0xE0, '-'};
    for (uint32_t seed = 1; seed <= 300; ++seed) {
        std::mt19937 rng(seed);
        const size_t size = seed % 25 == 0 ? 3 * W + rng() % 5000 : rng() % 80;
        std::vector<uint8_t> bytes(size);
        for (auto &b : bytes)
            b = alpha[rng() % sizeof alpha];
        auto text = [&](size_t maxLen, size_t minLen) {
            std::string t(minLen + rng() % (maxLen - minLen + 1), ' ');
            for (auto &c : t)
                c = static_cast<char>(alpha[rng() % sizeof alpha]);
            return t;
        };
        const std::string f = text(3, 1), r = text(3, 0);
        const bool all = rng() % 4 != 0, ic = rng() % 2;
        const int32_t start = size ? int32_t(rng() % size) * int32_t(rng() % 2) : 0;
        Load(bytes);
        if (size > 100 && seed % 2) {
            // Start from a dirty window somewhere.
            doc.OverwriteByte(int32_t(size / 2), 'a', false);
            data[size / 2] = 'a';
        }
        const auto original = data;
        std::vector<naive::Record> expected;
        const int32_t n = naive::Replace(data, start, f, r, all, ic, expected);
        const std::string where = "seed " + std::to_string(seed) + " find '" + f + "' by '" + r + "'" +
                                  (all ? " all" : "") + (ic ? " ic" : "") + " from " + std::to_string(start);
        ASSERT_EQ(TVxReplacer(doc, 1 + int32_t(seed % 7) * 100).Replace(start, f, r, all, ic).Count, n) << where;
        ASSERT_EQ(DocBytes(doc), data) << where;
        ExpectSameRecords(doc, 0, expected, where);
        ASSERT_EQ(WorkBytes(doc), data) << where;
        while (doc.UndoCount() > 0)
            doc.Undo();
        ASSERT_EQ(DocBytes(doc), original) << where;
    }
}
