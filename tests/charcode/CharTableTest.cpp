// Character tables: what a .tbl file may hold and how each fault is named, the file's text
// code, longest matches both ways, and the column's decoder over a table.

#include "TVxCharTable.h"
#include "TVxTableDecoder.h"
#include "../engine/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {
using Bytes = std::vector<uint8_t>;
using Kind = TVxCharTableError::Kind;
constexpr char32_t kInvalid = TVxCharDecoder::kInvalid;

std::u16string MatchText(const TVxCharTable &t, const Bytes &b, int expectLength)
{
    const std::u16string *text = nullptr;
    EXPECT_EQ(t.Match(b.data(), int(b.size()), &text), expectLength);
    return text ? *text : u"(none)";
}

std::vector<TVxDecodedChar> Decode(const TVxTableDecoder &d, const Bytes &b, int32_t base = 0, int first = 0)
{
    std::vector<TVxDecodedChar> out(b.size());
    d.Decode(b.data(), int(b.size()), base, first, out.data());
    return out;
}

std::string Hex(const std::string &bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    for (char c : bytes)
        s += {digits[uint8_t(c) >> 4], digits[uint8_t(c) & 15], ' '};
    return s;
}
} // namespace

TEST(CharTable, ParsesEntriesCommentsAndLineEnds)
{
    const auto t = TVxCharTable::Parse("\xEF\xBB\xBF# comment\r\n; another\n// and another\n\n   \n"
                                       "41=A\r\n"
                                       "4142=a=b\n"
                                       "ff=\xE3\x81\x82\xE3\x81\x84\r\n"
                                       "0102030405060708= x \n"
                                       "80=\xF0\x9F\x98\x80");
    EXPECT_EQ(t->Size(), 5u);
    EXPECT_EQ(t->MaxBytes(), 8);
    EXPECT_EQ(MatchText(*t, {0x41, 0x43}, 1), u"A");
    EXPECT_EQ(MatchText(*t, {0x41, 0x42, 0x41}, 2), u"a=b");
    EXPECT_EQ(MatchText(*t, {0xFF}, 1), u"あい");
    EXPECT_EQ(MatchText(*t, {1, 2, 3, 4, 5, 6, 7, 8, 9}, 8), u" x ");
    EXPECT_EQ(MatchText(*t, {0x80}, 1), u"\U0001F600");
    // A prefix of an entry, or an entry cut off by the end of the input, is no match.
    EXPECT_EQ(MatchText(*t, {1, 2, 3}, 0), u"(none)");
    EXPECT_EQ(MatchText(*t, {0x42}, 0), u"(none)");
    EXPECT_EQ(t->Match(nullptr, 0, nullptr), 0);
}

TEST(CharTable, NamesEachFaultAndItsLine)
{
    const struct {
        std::string File;
        Kind Problem;
        int Line;
    } cases[] = {
        {"", Kind::NoEntries, 0},
        {"# only\r\n; comments\n\n", Kind::NoEntries, 0},
        {"41=a\nhello\n", Kind::NotAnEntry, 2},
        {"41=a\r\n\r\n814=x\r\n", Kind::BadHex, 3},
        {"4G=x", Kind::BadHex, 1},
        {"=x", Kind::BadHex, 1},
        {" 41=x", Kind::BadHex, 1},
        {"010203040506070809=x", Kind::BadHex, 1},
        {"41=a\n42=\n", Kind::EmptyText, 2},
        {"41=a\n42=b\n# c\n41=c\n", Kind::Duplicate, 4},
        {"8140=a\n81=b\n81=c\n8140=d\n", Kind::Duplicate, 3},
        // The first fault in the file is the one named.
        {"41=a\n41=b\nzz\n", Kind::Duplicate, 2},
    };
    for (const auto &c : cases) {
        try {
            TVxCharTable::Parse(c.File);
            ADD_FAILURE() << "accepted: " << c.File;
        } catch (const TVxCharTableError &e) {
            EXPECT_EQ(e.Problem, c.Problem) << c.File;
            EXPECT_EQ(e.Line, c.Line) << c.File;
        }
    }
}

TEST(CharTable, HoldsAtMostTheLargestTable)
{
    std::string file;
    char line[16];
    for (int i = 0; i < int(TVxCharTable::kMaxEntries); ++i) {
        snprintf(line, sizeof line, "%06X=x\n", i);
        file += line;
    }
    EXPECT_EQ(TVxCharTable::Parse(file)->Size(), TVxCharTable::kMaxEntries);
    file += "FFFFFFFF=y\n";
    try {
        TVxCharTable::Parse(file);
        ADD_FAILURE();
    } catch (const TVxCharTableError &e) {
        EXPECT_EQ(e.Problem, Kind::TooMany);
        EXPECT_EQ(e.Line, int(TVxCharTable::kMaxEntries) + 1);
    }
}

TEST(CharTable, ReadsShiftJisFilesAndLoadsFromDisk)
{
    // The same table in Shift-JIS and in UTF-8: あ, the ideographic space, and 表, whose
    // second Shift-JIS byte is '\' (0x5C).
    const std::string sjis = "41=\x82\xA0\r\n8140=\x81\x40\r\n955C=\x95\x5C=\r\n";
    const std::string utf8 = "41=\xE3\x81\x82\n8140=\xE3\x80\x80\n955C=\xE8\xA1\xA8=\n";
    TScratchDir dir;
    WriteText(dir.File("sjis.tbl"), sjis);
    WriteText(dir.File("utf8.tbl"), utf8);
    for (const auto &t : {TVxCharTable::Load(dir.File("sjis.tbl")), TVxCharTable::Load(dir.File("utf8.tbl"))}) {
        EXPECT_EQ(MatchText(*t, {0x41}, 1), u"あ");
        EXPECT_EQ(MatchText(*t, {0x81, 0x40}, 2), u"\u3000");
        EXPECT_EQ(MatchText(*t, {0x95, 0x5C}, 2), u"表=");
    }
    for (const std::string &path : {dir.File("missing.tbl"), dir.Path()}) {
        try {
            TVxCharTable::Load(path);
            ADD_FAILURE() << path;
        } catch (const TVxCharTableError &e) {
            EXPECT_EQ(e.Problem, Kind::Unreadable) << path;
            EXPECT_EQ(e.Line, 0);
        }
    }
}

TEST(CharTable, EncodesLongestTextFirstAndRefusesTheRest)
{
    // Shared text "ab": the earlier line wins, though its bytes sort after the later one's.
    const auto t = TVxCharTable::Parse("01=a\n02=b\n10=ab\n03=ab\n0405=abc\n06=\xF0\x9F\x98\x80\n");
    std::string bytes;
    size_t bad = 99;
    ASSERT_TRUE(t->Encode(u"abcab", bytes, bad));
    EXPECT_EQ(Hex(bytes), "04 05 10 ");
    ASSERT_TRUE(t->Encode(u"aab\U0001F600b", bytes, bad));
    EXPECT_EQ(Hex(bytes), "01 10 06 02 ");
    EXPECT_FALSE(t->Encode(u"abx", bytes, bad));
    EXPECT_EQ(bad, 2u);
    // Half of a pair is no entry's text.
    EXPECT_FALSE(t->Encode(u"a\xD83D", bytes, bad));
    EXPECT_EQ(bad, 1u);
}

TEST(CharTable, DecoderTakesLongestMatchesAndShowsFirstCharacters)
{
    const TVxTableDecoder d(TVxCharTable::Parse("41=A\n4142=<AB>\n414243=X\n80=\xF0\x9F\x98\x80!\n81=\xE3\x81\x8B\xE3\x81\xAA\n"));
    const auto out = Decode(d, {0x41, 0x42, 0x43, 0x41, 0x42, 0x41, 0x80, 0x81, 0xFF, 0x41, 0x42});
    std::vector<int> spans;
    std::u32string codes;
    for (const TVxDecodedChar &c : out) {
        spans.push_back(c.Span);
        if (c.Span)
            codes += c.Code;
    }
    EXPECT_EQ(spans, (std::vector<int>{3, 0, 0, 2, 0, 1, 1, 1, 1, 2, 0}));
    EXPECT_EQ(codes, (std::u32string{U'X', U'<', U'A', 0x1F600, U'か', kInvalid, U'<'}));
}

TEST(CharTable, DecoderRowsReadAsTheWholeDocument)
{
    // A Shift-JIS-like table: ASCII single bytes, pairs led by 0xE0..0xEF. Rows that begin
    // inside a pair still show it where it began.
    std::string file;
    char line[32];
    for (int b = 0x20; b < 0x7F; ++b) {
        snprintf(line, sizeof line, "%02X=%c\n", b, b);
        file += line;
    }
    for (int lead = 0xE0; lead <= 0xEF; ++lead)
        for (int trail = 0x40; trail < 0x7F; ++trail) {
            snprintf(line, sizeof line, "%02X%02X=\xE4\xB8%c\n", lead, trail, 0x80 + (trail & 0x3F));
            file += line;
        }
    const TVxTableDecoder d(TVxCharTable::Parse(file));
    std::mt19937 rng(3);
    Bytes doc;
    while (doc.size() < 4000) {
        if (rng() % 3 == 0)
            doc.push_back(uint8_t(0x20 + rng() % 95));
        else
            doc.insert(doc.end(), {uint8_t(0xE0 + rng() % 16), uint8_t(0x40 + rng() % 63)});
    }
    const auto whole = Decode(d, doc);
    for (int row = 16; row + 16 + TVxCharDecoder::kMaxAfter <= int(doc.size()); row += 16) {
        const int base = std::max(0, row - TVxTableDecoder::kLookback);
        const Bytes stretch(doc.begin() + base, doc.begin() + row + 16 + TVxCharDecoder::kMaxAfter);
        const auto piece = Decode(d, stretch, base, row - base);
        // The byte before the row too: a pair begun there is what the row's first cell shows.
        for (int i = row - 1; i < row + 16; ++i) {
            ASSERT_EQ(piece[size_t(i - base)].Span, whole[size_t(i)].Span) << i;
            ASSERT_EQ(piece[size_t(i - base)].Code, whole[size_t(i)].Code) << i;
        }
    }
}
