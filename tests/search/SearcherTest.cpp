// The scan against its byte-by-byte definition: random data salted with letters and
// Shift-JIS lead bytes, random patterns and bounds, both directions, with and without
// ignoring case, blocks as small as one byte and documents larger than the cache window;
// then the cases the editor's users meet, the start positions of the find commands and the
// shared search text.

#include "NaiveReference.h"
#include "TVxMatcher.h"
#include "TVxSearchBounds.h"
#include "TVxSearchEngine.h"
#include "TVxSearchText.h"
#include "TVxSearcher.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <random>

namespace {
constexpr int32_t W = TVxWorkCopy::kCacheSize;

// Bytes that make folding and lead-byte decisions happen often.
const uint8_t kSalt[] = {'a', 'A', 'b', 'B', 'z', 'Z', '@', '[', '`', '{', 0x40, 0x7E, 0x7F, 0x1F, 0x20,
                         0x80, 0x81, 0x83, 0x9F, 0xA0, 0xDF, 0xE0, 0xFC, 0xFD, 0x00, 0xFF};

std::vector<uint8_t> SaltedData(std::mt19937 &rng, size_t n)
{
    std::vector<uint8_t> d(n);
    for (auto &b : d)
        b = rng() % 3 ? kSalt[rng() % sizeof kSalt] : static_cast<uint8_t>(rng());
    return d;
}

// Mostly a piece of the data with some letters' case flipped (so case matters), sometimes
// random salt; lengths on both sides of the matcher's switch to Horspool (128).
std::string SomePattern(std::mt19937 &rng, const std::vector<uint8_t> &d)
{
    const size_t longest[] = {6, 6, 6, 40, 300};
    size_t n = 1 + rng() % longest[rng() % 5];
    std::string t;
    if (!d.empty() && rng() % 4 != 0) {
        n = std::min(n, d.size());
        size_t at = rng() % (d.size() - n + 1);
        t.assign(d.begin() + long(at), d.begin() + long(at + n));
        for (auto &c : t)
            if (std::isalpha(static_cast<unsigned char>(c)) && rng() % 3 == 0)
                c = static_cast<char>(c ^ 0x20);
    } else {
        for (size_t i = 0; i < n; ++i)
            t += static_cast<char>(kSalt[rng() % sizeof kSalt]);
    }
    return t;
}

struct SearcherTest : ::testing::Test {
    TScratchDir dir;
    TVxDocument doc;
    std::vector<uint8_t> data;

    void Load(std::vector<uint8_t> bytes)
    {
        data = std::move(bytes);
        LoadDocument(doc, dir.File("s.bin"), data);
    }
    void Load(const std::string &s) { Load(std::vector<uint8_t>(s.begin(), s.end())); }
    int32_t Search(const std::string &t, int32_t start, int32_t end, bool ic, bool back)
    {
        return TVxSearcher(doc).Search(t, start, end, ic, back);
    }
};
} // namespace

TEST_F(SearcherTest, EqualsTheByteByByteDefinition)
{
    const int32_t blocks[] = {1, 2, 5, 64, 1000, TVxSearcher::kBlockSize};
    for (uint32_t seed = 1; seed <= 60; ++seed) {
        std::mt19937 rng(seed);
        size_t size = seed % 10 == 0 ? 70000 + rng() % 40000 : rng() % 600;
        Load(SaltedData(rng, size));
        if (seed % 3 == 0 && size > 100) {
            // A resized dirty window: the scan must read through it.
            const int32_t at = int32_t(rng() % (size - 50));
            doc.InsertByte(at, 'A', false);
            doc.DeleteByte(at + 7, false);
            doc.InsertByte(at + 9, 0x83, false);
            data.insert(data.begin() + at, 'A');
            data.erase(data.begin() + at + 7);
            data.insert(data.begin() + at + 9, 0x83);
        }
        for (int32_t block : blocks) {
            TVxSearcher searcher(doc, block);
            for (int i = 0; i < (size > 10000 ? 6 : 40); ++i) {
                const std::string t = SomePattern(rng, data);
                const bool ic = rng() % 2, back = rng() % 2;
                const int32_t s = int32_t(size);
                int32_t start = int32_t(rng() % (s + 3)) - 1, end = back ? int32_t(rng() % 3) - 1 : s - 1;
                if (rng() % 4 == 0)
                    end = back ? int32_t(rng() % (s + 1)) : int32_t(rng() % (s + 2)) - 1;
                if (back && rng() % 5 == 0)
                    start = s + int32_t(rng() % 5);
                ASSERT_EQ(searcher.Search(t, start, end, ic, back), naive::Search(data, t, start, end, ic, back))
                    << "seed " << seed << " block " << block << " pattern #" << i << " length " << t.size()
                    << " start " << start << " end " << end << " ic " << ic << " back " << back;
            }
        }
    }
}

TEST(MatcherTest, FirstAndLastOccurrenceForEveryMethod)
{
    // Lengths through the filter (2..127) and Horspool (128 on), over data from a small
    // alphabet where partial matches and overlaps are the rule.
    for (uint32_t seed = 1; seed <= 400; ++seed) {
        std::mt19937 rng(seed);
        const char alpha[] = "aab";
        std::vector<uint8_t> hay(rng() % 3000);
        for (auto &b : hay)
            b = static_cast<uint8_t>(alpha[rng() % 3]);
        const size_t n = 1 + (seed % 4 == 0 ? 127 + rng() % 200 : rng() % 20);
        std::string pat(n, 'a');
        for (auto &c : pat)
            c = alpha[rng() % 3];
        if (!hay.empty() && n <= hay.size() && rng() % 2) // plant it, sometimes twice
            for (int k = 0; k < 2; ++k)
                std::copy(pat.begin(), pat.end(), hay.begin() + long(rng() % (hay.size() - n + 1)));
        const std::vector<uint8_t> d(hay.begin(), hay.end());
        TVxMatcher m(pat);
        const int32_t size = int32_t(d.size());
        EXPECT_EQ(m.FindFirst(hay.data(), hay.size()), naive::Search(d, pat, 0, size - 1, false, false))
            << "seed " << seed << " n " << n;
        EXPECT_EQ(m.FindLast(hay.data(), hay.size()), naive::Search(d, pat, size - 1, 0, false, true))
            << "seed " << seed << " n " << n;
    }
}

TEST_F(SearcherTest, MatchesAcrossBlockAndWindowBoundariesAreFound)
{
    // One needle per boundary of the window grid and of the blocks, each found from before it
    // forward and from after it backward, also when longer than a window.
    std::mt19937 rng(99);
    auto bytes = Pattern(5 * W + 123, 4);
    for (auto &b : bytes)
        b = b == 'q' ? 'r' : b;
    const std::string small = "q\x83Qq";
    std::string big(W + 5000, 'q');
    big[W / 2] = 'X';
    const int32_t spots[] = {W - 2, 2 * W - 1, 3 * W - 3};
    for (int32_t at : spots)
        std::copy(small.begin(), small.end(), bytes.begin() + at);
    std::copy(big.begin(), big.end(), bytes.begin() + 3 * W + 10);
    Load(bytes);
    for (int32_t block : {7, 4096, W, TVxSearcher::kBlockSize}) {
        TVxSearcher s(doc, block);
        for (int32_t at : spots) {
            EXPECT_EQ(s.Search(small, at - 1000, doc.FileSize() - 1, false, false), at) << block;
            EXPECT_EQ(s.Search(small, at + 1000, 0, false, true), at) << block;
            EXPECT_EQ(s.Search("Q\x83Qq", at - 1000, doc.FileSize() - 1, true, false), at) << block;
        }
        EXPECT_EQ(s.Search(big, 0, doc.FileSize() - 1, false, false), 3 * W + 10) << block;
        EXPECT_EQ(s.Search(big, doc.FileSize() - 1, 0, true, true), 3 * W + 10) << block;
        // The range that holds it all but its last byte does not.
        EXPECT_EQ(s.Search(big, 0, 3 * W + 10 + int32_t(big.size()) - 2, false, false), -1) << block;
    }
}

TEST_F(SearcherTest, UsersCases)
{
    Load("aaab");
    EXPECT_EQ(Search("aab", 0, 3, false, false), 1);

    Load("xabababy");
    EXPECT_EQ(Search("ABA", 0, 7, true, false), 1);
    EXPECT_EQ(Search("ABA", 2, 7, true, false), 3); // find next after selecting 1..3
    EXPECT_EQ(Search("ABA", 0, 7, false, false), -1);

    for (const char *d : {"ABC", "Abc", "abc"}) {
        Load(d);
        EXPECT_EQ(Search("abc", 0, 2, true, false), 0) << d;
        EXPECT_EQ(Search("abc", 0, 2, false, false), std::string(d) == "abc" ? 0 : -1) << d;
    }

    // The second byte of a double-byte character is not folded, in the data nor the pattern,
    // in both directions; a letter at offset 0 has no predecessor and is folded.
    Load(std::string("\x83\x61..\x83\x41"));
    EXPECT_EQ(Search("\x83\x41", 0, 5, true, false), 4);
    EXPECT_EQ(Search("\x83\x41", 5, 0, true, true), 4);
    EXPECT_EQ(Search("\x83\x41", 3, 0, true, true), -1);
    Load("A\x83");
    EXPECT_EQ(Search("a", 0, 1, true, false), 0);
    EXPECT_EQ(Search("a", 1, 0, true, true), 0);
    Load("\x83" "A");
    EXPECT_EQ(Search("a", 0, 1, true, false), -1);
    EXPECT_EQ(Search("A", 0, 1, true, false), -1); // the pattern's own A folds, the data's not

    Load("abcabc");
    EXPECT_EQ(Search("abcabcx", 0, 5, false, false), -1); // longer than the data
    EXPECT_EQ(Search("abc", 4, 5, false, false), -1);      // longer than the rest
    EXPECT_EQ(Search("abc", 6, 5, false, false), -1);      // caret on the end position
    EXPECT_EQ(Search("abc", 6, 0, false, true), 3);        // backward from there: the last byte
    EXPECT_EQ(Search("abc", 5, 0, false, true), 3);        // from the top backward
    EXPECT_EQ(Search("abc", -1, 0, false, true), -1);
    EXPECT_EQ(Search("", 0, 5, false, false), -1);
}

TEST_F(SearcherTest, FindStartsAndBounds)
{
    using B = TVxSearchBounds;
    const int32_t size = 100;
    EXPECT_EQ(B::ForFind(size, 40, -1, -1, false, true), (TVxSearchRange{0, 99}));
    EXPECT_EQ(B::ForFind(size, 40, 10, 12, true, true), (TVxSearchRange{99, 0}));
    EXPECT_EQ(B::ForFind(size, 40, 10, -1, false, false), (TVxSearchRange{40, 99}));
    EXPECT_EQ(B::ForFind(size, 40, 10, -1, true, false), (TVxSearchRange{40, 0}));
    EXPECT_EQ(B::ForFind(size, 40, 12, 10, false, false), (TVxSearchRange{11, 99}));
    EXPECT_EQ(B::ForFind(size, 40, 12, 10, true, false), (TVxSearchRange{11, 0}));
    EXPECT_EQ(B::ForFindNext(size, 100, -1, -1), (TVxSearchRange{100, 99}));
    EXPECT_EQ(B::ForFindPrev(size, 0, 0, 0), (TVxSearchRange{-1, 0}));

}

TEST_F(SearcherTest, TheFindCommandsThroughTheEngine)
{
    Load("xabababy");
    TVxSearchEngine e(doc, 3);
    int shared = 0;
    e.State().OnShare = [&](const std::string &, bool, bool, bool) { ++shared; };
    EXPECT_FALSE(e.HasSearchText());
    // Find with the caret on 0, then find next with that match selected.
    EXPECT_EQ(e.Find("ABA", true, false, false, 0, 0, -1), 1);
    EXPECT_EQ(e.State().SearchText(), "ABA");
    EXPECT_TRUE(e.State().SearchIgnoreCase());
    EXPECT_EQ(e.FindNext(1, 1, 3), 3);
    EXPECT_EQ(e.FindNext(3, 3, 5), -1);
    EXPECT_EQ(e.FindPrev(3, 3, 5), 1);
    EXPECT_EQ(e.Find("ABA", true, true, true, 0, 0, -1), 3); // from the top backward: the last
    EXPECT_EQ(shared, 1) << "repeating the current text shares nothing";

    // Replace takes the current ignore-case flag and makes the find text current.
    EXPECT_EQ(e.Replace(0, "BAB", "-", true).Count, 1);
    EXPECT_EQ(e.State().SearchText(), "BAB");
    EXPECT_TRUE(e.State().SearchIgnoreCase());
    EXPECT_EQ(e.Replace(0, "", "-", true).Count, 0);
    EXPECT_EQ(e.State().SearchText(), "BAB");
    auto b = DocBytes(doc);
    EXPECT_EQ(std::string(b.begin(), b.end()), "xa-aby");
}

TEST(SearchTextTest, OnlyChangesAreSharedAndAnnounced)
{
    TVxSearchText s;
    std::vector<std::string> log;
    s.OnShare = [&](const std::string &t, bool ic, bool silent, bool hex) {
        log.push_back("share:" + t + (ic ? "/i" : "") + (silent ? "/silent" : "") + (hex ? "/hex" : ""));
    };
    s.OnChangeSearchText = [&] { log.push_back("changed"); };
    EXPECT_FALSE(s.HasSearchText());
    EXPECT_TRUE(s.SetSearchText("abc", false, true));
    EXPECT_FALSE(s.SetSearchText("abc", false, false));
    EXPECT_TRUE(s.SetSearchText("abc", true, false)); // the flag alone is a change
    EXPECT_TRUE(s.SetSearchText("ABC", true, false)); // so is the case of the text
    EXPECT_TRUE(s.SetSearchText("ABC", true, false, true)); // and whether it is hex
    EXPECT_FALSE(s.HasSearchText()) << "ABC gives no bytes";
    s.ApplyShared("x", false);
    EXPECT_EQ(log, (std::vector<std::string>{"share:abc/silent", "changed", "share:abc/i", "changed",
                                             "share:ABC/i", "changed", "share:ABC/i/hex", "changed", "changed"}));
    EXPECT_EQ(s.SearchText(), "x");
    EXPECT_FALSE(s.SearchIgnoreCase());
    EXPECT_TRUE(s.HasSearchText());
}
