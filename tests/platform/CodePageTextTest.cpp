// The code-page service on its own: known characters of both code pages, and what a whole
// text with bad bytes or missing characters becomes. On Windows this is the only check that
// the system's tables (932, 20932) give what ICU gives on Linux.

#include "TCodePageText.h"

#include <gtest/gtest.h>

#include <string>

namespace {
using TCode = TCodePageText::TCode;
bool IsSubstitute(char16_t c) { return c == 0xFFFD || c == 0x1A; }
} // namespace

TEST(CodePageText, KnownCharactersAndBadBytesInWholeTexts)
{
    EXPECT_EQ(TCodePageText::Decode(TCode::ShiftJis, std::string("\x82\xA0\x81\x40\xB1" "A")), u"\u3042\u3000\uFF71A");
    // EUC-JP: JIS X 0208, half-width katakana, JIS X 0212; a JIS symbol as its Shift-JIS form.
    EXPECT_EQ(TCodePageText::Decode(TCode::EucJp, std::string("\xA4\xA2\x8E\xB1\x8F\xB0\xA1")), u"\u3042\uFF71\u4E02");
    EXPECT_EQ(TCodePageText::Decode(TCode::EucJp, std::string("\xA1\xC1")), TCodePageText::Decode(TCode::ShiftJis, std::string("\x81\x60")));

    // A lead byte before a byte that cannot follow it costs that byte only; a pair without a
    // character is one U+FFFD. The rest of the text survives, also far behind the fault.
    std::u16string got = TCodePageText::Decode(TCode::ShiftJis, std::string("A\x82 B\x85\x40" "C"));
    ASSERT_EQ(got.size(), 6u);
    EXPECT_TRUE(IsSubstitute(got[1]));
    EXPECT_EQ(got.substr(2, 2), u" B");
    EXPECT_EQ(got.substr(4), u"\uFFFD" u"C");
    std::string longText;
    for (int i = 0; i < 3000; ++i)
        longText += "\x82\xA0";
    longText += "\xFD";
    for (int i = 0; i < 3000; ++i)
        longText += "\x88\x9F";
    got = TCodePageText::Decode(TCode::ShiftJis, longText);
    ASSERT_EQ(got.size(), 6001u);
    EXPECT_EQ(got.substr(0, 3000), std::u16string(3000, u'\u3042'));
    EXPECT_TRUE(IsSubstitute(got[3000]));
    EXPECT_EQ(got.substr(3001), std::u16string(3000, u'\u4E9C'));

    // Encoding: what Shift-JIS has round-trips; a missing character becomes one substitute.
    EXPECT_EQ(TCodePageText::Encode(TCode::ShiftJis, u"\u3042\u3000\uFF71A"), "\x82\xA0\x81\x40\xB1" "A");
    const std::string euro = TCodePageText::Encode(TCode::ShiftJis, u"a\u20AC\U0001F600b");
    EXPECT_TRUE(euro == "a??b" || euro == "a\xFC\xFC\xFC\xFC" "b") << euro;
    EXPECT_EQ(TCodePageText::Encode(TCode::EucJp, u"\u3042\uFF71\u4E02A"), "\xA4\xA2\x8E\xB1\x8F\xB0\xA1" "A");
}
