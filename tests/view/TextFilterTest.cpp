// The byte-to-character filter: every row of the Shift-JIS table, ASCII, and the character
// spans the painter aligns characters by.

#include "TVxTextFilter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
std::string Filter(const std::string &in, TVxCharCode code, bool keep = false, std::vector<uint8_t> *spans = nullptr)
{
    std::vector<uint8_t> sp(in.size());
    std::string out = TVxTextFilter::FilterText(reinterpret_cast<const uint8_t *>(in.data()), in.size(), code,
                                                keep, sp.data());
    if (spans)
        *spans = sp;
    return out;
}
using Spans = std::vector<uint8_t>;
} // namespace

TEST(TextFilter, AsciiKeepsPrintablesAndOptionallyLineBreaks)
{
    EXPECT_EQ(Filter(std::string("\x1F \x41~\x7F\x80\xB1\xFF\x00", 9), ccASCII), ". A~.....");
    EXPECT_EQ(Filter("a\r\nb\t", ccASCII, true), "a\r\nb.");
    EXPECT_EQ(Filter("a\r\nb", ccASCII, false), "a..b");
}

TEST(TextFilter, SjisLeadPendingRows)
{
    Spans s;
    // 0x20..0x3F after a lead: the lead becomes ".", the byte stays.
    EXPECT_EQ(Filter("\x82\x31", ccSJIS, false, &s), ".1");
    EXPECT_EQ(s, (Spans{1, 1}));
    EXPECT_EQ(Filter("\x82\x20", ccSJIS), ". ");
    EXPECT_EQ(Filter("\x82\x3F", ccSJIS), ".?");
    // 0x40..0x7E and 0x80..0xFC after a lead: the second byte of a pair.
    EXPECT_EQ(Filter("\x82\x40", ccSJIS, false, &s), "\x82\x40");
    EXPECT_EQ(s, (Spans{2, 0}));
    EXPECT_EQ(Filter("\x82\x7E", ccSJIS), "\x82\x7E");
    EXPECT_EQ(Filter("\x82\x80", ccSJIS), "\x82\x80");
    EXPECT_EQ(Filter("\x82\xA0", ccSJIS, false, &s), "\x82\xA0");
    EXPECT_EQ(s, (Spans{2, 0}));
    EXPECT_EQ(Filter("\xFC\xFC", ccSJIS), "\xFC\xFC");
    // A lead right after a lead is its trail; the pair is then complete.
    EXPECT_EQ(Filter("\x82\x82\x41", ccSJIS, false, &s), "\x82\x82\x41");
    EXPECT_EQ(s, (Spans{2, 0, 1}));
    // Control bytes, 0x7F and 0xFD..0xFF after a lead: both become ".".
    for (char bad : {'\x00', '\x09', '\x1F', '\x7F', '\xFD', '\xFE', '\xFF'}) {
        std::string in = std::string("\x82") + bad;
        EXPECT_EQ(Filter(in, ccSJIS, false, &s), "..") << int(uint8_t(bad));
        EXPECT_EQ(s, (Spans{1, 1}));
    }
    // A kept line break leaves a pending lead unchanged and ends the pending state.
    EXPECT_EQ(Filter("\x82\x0A\x41", ccSJIS, true, &s), "\x82\x0A\x41");
    EXPECT_EQ(s, (Spans{1, 1, 1}));
    EXPECT_EQ(Filter("\x82\x0D", ccSJIS, false), "..");
}

TEST(TextFilter, SjisNoLeadPendingRows)
{
    Spans s;
    EXPECT_EQ(Filter(" AZ~", ccSJIS), " AZ~");
    // Half-width katakana are single characters.
    EXPECT_EQ(Filter("\xA1\xB1\xDF", ccSJIS, false, &s), "\xA1\xB1\xDF");
    EXPECT_EQ(s, (Spans{1, 1, 1}));
    EXPECT_EQ(Filter("\x80\xA0", ccSJIS), "..");
    EXPECT_EQ(Filter(std::string("\x00\x1F\x7F\xFD\xFE\xFF", 6), ccSJIS), "......");
    EXPECT_EQ(Filter("a\r\n", ccSJIS, true), "a\r\n");
    EXPECT_EQ(Filter("a\r\n", ccSJIS, false), "a..");
    // Lead bytes start pairs at both ends of their ranges; one at the very end of the
    // input stays as it is.
    EXPECT_EQ(Filter("\x81\x41\x9F\x41\xE0\x41\xFC\x41", ccSJIS, false, &s), "\x81\x41\x9F\x41\xE0\x41\xFC\x41");
    EXPECT_EQ(s, (Spans{2, 0, 2, 0, 2, 0, 2, 0}));
    EXPECT_EQ(Filter("A\x9F", ccSJIS, false, &s), "A\x9F");
    EXPECT_EQ(s, (Spans{1, 1}));
}

TEST(TextFilter, OtherCodesCopyEveryByte)
{
    const std::string in("\x00\x0A\x82\xFF\x41", 5);
    for (TVxCharCode code : {ccJIS, ccEUC, ccUNICODE})
        EXPECT_EQ(Filter(in, code), in);
    EXPECT_EQ(TVxTextFilter::FilterText(std::vector<uint8_t>{}, ccSJIS, false), "");
}
