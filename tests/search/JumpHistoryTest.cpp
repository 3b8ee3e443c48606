// The jump dialog's decisions, and the find and replace histories as they travel through
// the settings file.

#include "TIniFile.h"
#include "TStrToInt.h"
#include "TVxHistoryList.h"
#include "TVxJumpAddress.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

TEST(JumpAddressTest, TheTableOfTypedAddresses)
{
    using C = TVxJumpCheck;
    struct Row {
        const char *text;
        C check;
        int32_t offset;
    };
    // A 256-byte file.
    const Row rows[] = {
        {"255", C::Ok, 255},          {"$FF", C::Ok, 255},         {"0xff", C::Ok, 255},
        {" 255", C::Ok, 255},         {"256", C::Ok, 256},         {"257", C::OutOfRange, 257},
        {"-1", C::Invalid, -1},       {"12ab", C::Invalid, -1},    {"255 ", C::Invalid, -1},
        {"$", C::Invalid, -1},        {"-$10", C::Invalid, -1},    {"", C::Invalid, -1},
        {"$00000", C::Ok, 0},         {"+12", C::Ok, 12},          {"x1F", C::Ok, 31},
        {"X1f", C::Ok, 31},           {"0X1F", C::Ok, 31},         {"0x", C::Invalid, -1},
        {"   ", C::Invalid, -1},      {"\t5", C::Invalid, -1},     {"+", C::Invalid, -1},
        {"$FFFFFFFF", C::Invalid, -1}, // eight F digits are -1: negative
        {"$7FFFFFFF", C::OutOfRange, INT32_MAX},
        {"$100000000", C::Invalid, -1}, // nine digits
        {"2147483647", C::OutOfRange, INT32_MAX},
        {"2147483648", C::Invalid, -1}, // overflows
        {"99999999999999999999", C::Invalid, -1},
        {"-0", C::Ok, 0},             {"00000000000000000100", C::Ok, 100},
    };
    for (const Row &r : rows) {
        TVxJumpTarget t = TVxJumpAddress::Check(r.text, 256);
        EXPECT_EQ(t.Check, r.check) << "'" << r.text << "'";
        if (r.check != C::Invalid) {
            EXPECT_EQ(t.Offset, r.offset) << "'" << r.text << "'";
        }
    }
    int32_t v = 0;
    EXPECT_TRUE(TStrToInt::TryParse("$FFFFFFFF", v));
    EXPECT_EQ(v, -1);
    EXPECT_TRUE(TStrToInt::TryParse("-2147483648", v));
    EXPECT_EQ(v, INT32_MIN);
    EXPECT_FALSE(TStrToInt::TryParse("-2147483649", v));
    EXPECT_EQ(v, INT32_MIN) << "a failed conversion leaves the value alone";
}

TEST(HistoryListTest, NewestFirstWithoutDuplicatesAndAtMostSixteen)
{
    TVxHistoryList h;
    for (int i = 0; i < 17; ++i)
        h.Add("text" + std::to_string(i), false);
    ASSERT_EQ(h.Items().size(), 16u);
    EXPECT_EQ(h.Items().front(), "text16");
    EXPECT_EQ(h.Items().back(), "text1");
    h.Add("text5", false);
    EXPECT_EQ(h.Items()[0], "text5");
    EXPECT_EQ(h.Items().size(), 16u);
    EXPECT_EQ(std::count(h.Items().begin(), h.Items().end(), "text5"), 1);
    h.Add("TEXT5", false); // differs in case: a separate entry
    EXPECT_EQ(h.Items()[1], "text5");
    EXPECT_FALSE(h.Add("", false));
    EXPECT_TRUE(h.Add("", true));
    EXPECT_EQ(h.Items()[0], "");
}

TEST(HistoryListTest, RoundTripThroughTheSettingsFile)
{
    TScratchDir dir;
    const std::string file = dir.File("Hexcavat.ini");
    TVxHistoryList h;
    for (int i = 0; i < 17; ++i)
        h.Add("s" + std::to_string(i), false);
    h.Add("  leading and trailing  ", false);
    h.Add("\"quoted\"", false);
    h.Add("日本語 テキスト", false);
    {
        TIniFile ini(file);
        h.Save(ini, TVxHistoryList::kFindSection);
    }
    {
        TIniFile ini(file);
        EXPECT_EQ(ini.ReadString("FindStrings", "F", ""), h.Items()[15]);
        EXPECT_FALSE(ini.ValueExists("FindStrings", "10"));
        TVxHistoryList back;
        back.Load(ini, "findstrings");
        EXPECT_EQ(back.Items(), h.Items());
    }

    // An empty replacement among sixteen: the next load counts fifteen filled keys and so
    // drops the oldest entry, keeping the empty one in its place.
    TVxHistoryList r;
    for (int i = 0; i < 16; ++i)
        r.Add(i == 10 ? "" : "r" + std::to_string(i), true);
    {
        TIniFile ini(file);
        r.Save(ini, TVxHistoryList::kReplaceSection);
    }
    TIniFile ini(file);
    TVxHistoryList back;
    back.Load(ini, TVxHistoryList::kReplaceSection);
    ASSERT_EQ(back.Items().size(), 15u);
    EXPECT_EQ(back.Items()[5], "");
    EXPECT_EQ(back.Items()[14], "r1");
    // The find history in the same file is untouched.
    TVxHistoryList find;
    find.Load(ini, TVxHistoryList::kFindSection);
    EXPECT_EQ(find.Items(), h.Items());
}

namespace {
// A history section as a hand edit might leave it: `keys` keys "0", "1", ... in order, the
// text of each given by `textOf`.
void WriteHistorySection(const std::string &file, size_t keys, std::string (*textOf)(size_t))
{
    std::string text = "[FindStrings]\n";
    for (size_t i = 0; i < keys; ++i)
        text += TVxHistoryList::KeyOf(i) + "=\"" + textOf(i) + "\"\n";
    WriteFileBytes(file, std::vector<uint8_t>(text.begin(), text.end()));
}

// Index lookups and name comparisons of opening the file and loading its find history.
uint64_t LoadWork(const std::string &file, TVxHistoryList &h)
{
    const uint64_t before = TIniText::LookupCount();
    TIniFile ini(file);
    h.Load(ini, TVxHistoryList::kFindSection);
    return TIniText::LookupCount() - before;
}
} // namespace

TEST(HistoryListTest, AHandEditedSectionLoadsAsTheListsRulesSay)
{
    TScratchDir dir;
    const std::string file = dir.File("Hexcavat.ini");
    // Key 3 repeats key 1, key "a" is written in lower case, and a second "0" comes last.
    WriteFileBytes(file, [] {
        std::string t = "[FindStrings]\n";
        for (size_t i = 0; i < 40; ++i)
            t += (i == 10 ? "a" : TVxHistoryList::KeyOf(i)) + "=\"" + (i == 3 ? "t1" : "t" + std::to_string(i)) + "\"\n";
        t += "0=\"late\"\n";
        return std::vector<uint8_t>(t.begin(), t.end());
    }());
    TVxHistoryList h;
    {
        TIniFile ini(file);
        h.Load(ini, TVxHistoryList::kFindSection);
    }
    std::vector<std::string> expected;
    for (size_t i = 0; i <= 16; ++i)
        if (i != 3)
            expected.push_back("t" + std::to_string(i));
    EXPECT_EQ(h.Items(), expected);
}

TEST(HistoryListTest, AHundredThousandKeysLoadSixteenEntriesInLinearWork)
{
    TScratchDir dir;
    const std::string file = dir.File("Hexcavat.ini");
    const auto distinct = [](size_t i) { return "text " + std::to_string(i); };
    const size_t sizes[] = {100000, 200000};
    TVxHistoryList h;
    uint64_t work[2];
    for (int s = 0; s < 2; ++s) {
        WriteHistorySection(file, sizes[s], distinct);
        work[s] = LoadWork(file, h);
        ASSERT_EQ(h.Items().size(), 16u);
        for (size_t i = 0; i < 16; ++i)
            EXPECT_EQ(h.Items()[i], distinct(i));
    }
    EXPECT_GE(work[0], sizes[0]) << "the count sees the work";
    EXPECT_LE(work[1], work[0] * 21 / 10);

    // The longest walk: every key holds the same text, so every key is read.
    const auto same = [](size_t) { return std::string("again"); };
    for (int s = 0; s < 2; ++s) {
        WriteHistorySection(file, sizes[s], same);
        work[s] = LoadWork(file, h);
        EXPECT_EQ(h.Items(), std::vector<std::string>{"again"});
    }
    EXPECT_LE(work[1], work[0] * 21 / 10);
}
