// Searching and replacing by bytes typed as hexadecimal digits: what the parser accepts and
// refuses, byte-exact matching whatever the ignore-case flag says, the repeat commands
// keeping the search as it was made, replacing one and all with their undo.

#include "TVxHexText.h"
#include "TVxSearchEngine.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(HexTextTest, PairsOfDigitsWithBlanksBetweenThemAndNothingElse)
{
    using H = TVxHexText;
    EXPECT_EQ(H::Parse("82 A0"), std::string("\x82\xA0"));
    EXPECT_EQ(H::Parse("82a0"), std::string("\x82\xA0"));
    EXPECT_EQ(H::Parse("82 a0 41"), std::string("\x82\xA0\x41"));
    EXPECT_EQ(H::Parse(" \t00ff  7F "), std::string("\x00\xFF\x7F", 3));
    EXPECT_EQ(H::Parse(""), std::string());
    EXPECT_EQ(H::Parse("   "), std::string());
    for (const char *bad : {"8", "82 A", "8 2", "4G", "0x41", "41,42", "41-42", "\x82\x57\x82\x51" /* full-width 82 */,
                            "\x81\x40" "41" /* full-width blank */})
        EXPECT_FALSE(H::Parse(bad).has_value()) << bad;
}

struct HexSearchTest : ::testing::Test {
    TScratchDir dir;
    TVxDocument doc;
    void Load(const std::string &s) { LoadDocument(doc, dir.File("h.bin"), std::vector<uint8_t>(s.begin(), s.end())); }
    std::string Bytes() const
    {
        auto b = DocBytes(const_cast<TVxDocument &>(doc));
        return std::string(b.begin(), b.end());
    }
};

TEST_F(HexSearchTest, BytesMatchExactlyAndTheRepeatsSearchThemAgain)
{
    Load(std::string("a\x82\xA0" "A\0\x82\xA0" "a", 8));
    TVxSearchEngine e(doc, 3);
    // "41" is "A" only, even with ignore-case on; the flag stays for later text searches.
    EXPECT_EQ(e.Find("41", true, false, false, 0, 0, -1, true), 3);
    EXPECT_TRUE(e.State().SearchHex());
    EXPECT_TRUE(e.State().SearchIgnoreCase());
    EXPECT_EQ(e.State().SearchText(), "41");
    EXPECT_EQ(e.FindNext(3, 3, 3), -1);

    EXPECT_EQ(e.Find("82 a0", false, false, false, 0, 0, -1, true), 1);
    EXPECT_EQ(e.State().HexBytes(), "\x82\xA0");
    EXPECT_EQ(e.FindNext(1, 1, 2), 5);
    EXPECT_EQ(e.FindPrev(5, 5, 6), 1);
    // A zero byte is a byte like any other.
    EXPECT_EQ(e.Find("00 82", false, true, true, 0, 0, -1, true), 4);
    // The same digits as text are a different search.
    EXPECT_EQ(e.Find("82 a0", false, false, true, 0, 0, -1), -1);
    EXPECT_FALSE(e.State().SearchHex());
}

TEST_F(HexSearchTest, ReplaceOneAndAllByBytesUndoAsOneStep)
{
    Load(std::string("xy\0\x01xy\0\x01", 8));
    TVxSearchEngine e(doc, 3);
    const std::string before = Bytes();

    EXPECT_EQ(e.Replace(0, "00 01", "FF", false, true).Count, 1);
    EXPECT_EQ(Bytes(), std::string("xy\xFFxy\0\x01", 7));
    EXPECT_TRUE(e.State().SearchHex());
    doc.Undo();
    EXPECT_EQ(Bytes(), before);

    // Replacing by nothing is allowed; text that is no hex changes nothing.
    EXPECT_EQ(e.Replace(0, "0001", "", true, true).Count, 2);
    EXPECT_EQ(Bytes(), "xyxy");
    EXPECT_EQ(e.Replace(0, "78", "zz", true, true).Count, 0);
    EXPECT_EQ(e.Replace(0, "7", "00", true, true).Count, 0);
    EXPECT_EQ(Bytes(), "xyxy");
    doc.Undo();
    EXPECT_EQ(Bytes(), before);
}

} // namespace
