// ISO-2022-JP: the column's decoder on every mode and switch, on stretches cut out of a long
// document as the rows are read, and the encoder against it and against glibc's iconv.

#include "TCodePageText.h"
#include "TVxJisDecoder.h"
#include "TVxJisEncoder.h"

#include <gtest/gtest.h>

#include "IconvReference.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {
constexpr char32_t kInvalid = TVxCharDecoder::kInvalid;
using Bytes = std::vector<uint8_t>;
const Bytes kToKanji{0x1B, '$', 'B'}, kToAscii{0x1B, '(', 'B'}, kToRoman{0x1B, '(', 'J'}, kToKana{0x1B, '(', 'I'};

Bytes Cat(std::initializer_list<Bytes> pieces)
{
    Bytes b;
    for (const Bytes &p : pieces)
        b.insert(b.end(), p.begin(), p.end());
    return b;
}

std::vector<TVxDecodedChar> Decode(const Bytes &b, int32_t base = 0, int first = 0)
{
    static TVxJisDecoder decoder;
    std::vector<TVxDecodedChar> out(b.size());
    decoder.Decode(b.data(), int(b.size()), base, first, out.data());
    return out;
}

std::u32string Units(const std::vector<TVxDecodedChar> &chars, size_t from = 0) { return DecodedUnits(chars, from); }

// Every JIS X 0208 character the EUC-JP table maps, in row and cell order, with its bytes.
struct TJisChar {
    char16_t Char;
    uint8_t Euc[2];
};
const std::vector<TJisChar> &JisX0208()
{
    static const std::vector<TJisChar> all = [] {
        std::vector<TJisChar> v;
        for (int a = 0xA1; a <= 0xFE; ++a)
            for (int b = 0xA1; b <= 0xFE; ++b) {
                const char euc[2] = {char(a), char(b)};
                const std::u16string u = TCodePageText::Decode(TCodePageText::TCode::EucJp, euc, 2);
                if (u.size() == 1 && u[0] != 0xFFFD && u[0] != 0x1A && (u[0] < 0xD800 || u[0] > 0xDFFF))
                    v.push_back({u[0], {uint8_t(a), uint8_t(b)}});
            }
        return v;
    }();
    return all;
}
} // namespace

TEST(JisDecoder, EscapesSelectTheModesAndAreInvalidUnits)
{
    // 亜 is row 16 cell 1 (0x30 0x21), あ row 4 cell 2; ｱ is 0x31 in the katakana set.
    const Bytes b = Cat({{'A'}, kToKanji, {0x30, 0x21, 0x24, 0x22}, kToRoman, {'\\', 'x'}, kToKana, {0x31, 0x5F, 0x60},
                         {0x1B, '$', '@', 0x30, 0x21}, kToAscii, {'B'}});
    const auto d = Decode(b);
    const std::u32string esc(3, kInvalid);
    EXPECT_EQ(Units(d), U"A" + esc + U"\u4E9C\u3042" + esc + U"\\x" + esc + U"\uFF71\uFF9F" + kInvalid + esc +
                            U"\u4E9C" + esc + U"B");
    EXPECT_EQ(d[4].Span, 2);
    EXPECT_EQ(d[5].Span, 0);
}

TEST(JisDecoder, ShiftsControlsAndEightBitBytesKeepTheMode)
{
    // SO in kanji mode, two katakana, SI back to kanji; a line feed between kanji does not
    // leave kanji mode; SI without SO does nothing; an escape ends a shift, so SI after it
    // does not return to kanji.
    const Bytes b = Cat({kToKanji, {0x30, 0x21, 0x0E, 0x31, 0x5F, 0x0F, 0x30, 0x21, 0x0A, 0x30, 0x21, 0x0F, 0x24, 0x22,
                                    0x0E},
                         kToAscii, {0x0F, 'a', 0x20, 0x1B, 'a'}});
    const std::u32string esc(3, kInvalid);
    EXPECT_EQ(Units(Decode(b)), esc + U"\u4E9C\x0E\uFF71\uFF9F\x0F\u4E9C\n\u4E9C\x0F\u3042\x0E" + esc + U"\x0F" +
                                    U"a \x1B" + U"a");

    // Eight-bit katakana in every mode; other high bytes, a pair without a character
    // (row 9 is empty) and a byte without its partner are invalid.
    const auto d = Decode(Cat({{0xB1}, kToKanji, {0xDF, 0x80, 0x29, 0x21, 0x30, 0x0A, 0x30}}));
    EXPECT_EQ(Units(d), U"\uFF71" + std::u32string(3, kInvalid) + U"\uFF9F" + std::u32string(4, kInvalid) + U"\n" +
                            kInvalid);
}

TEST(JisDecoder, RowsFarFromTheirEscapeFindIt)
{
    // 500 ASCII bytes, ESC $ B, then 900 kanji of varying rows and cells.
    Bytes doc = Cat({Bytes(500, 'x'), kToKanji});
    for (int k = 0; k < 900; ++k)
        doc.insert(doc.end(), {uint8_t(0x30 + k % 16), uint8_t(0x21 + k % 90)});
    doc.insert(doc.end(), kToAscii.begin(), kToAscii.end());
    const auto whole = Decode(doc);

    // Stretches as the rows read them: kLookback bytes back, 16 of interest, 7 after.
    int compared = 0;
    for (int row = 0; row + 16 <= int(doc.size()); row += 16) {
        const int base = std::max(0, row - TVxJisDecoder::kLookback);
        const int end = std::min(int(doc.size()), row + 16 + TVxCharDecoder::kMaxAfter);
        const Bytes stretch(doc.begin() + base, doc.begin() + end);
        const auto d = Decode(stretch, base, row - base);
        const bool escapeInReach = base <= 500;
        for (int i = row; i < row + 16; ++i) {
            const TVxDecodedChar &got = d[size_t(i - base)];
            if (escapeInReach) {
                ++compared;
                ASSERT_EQ(got.Span, whole[size_t(i)].Span) << i;
                ASSERT_EQ(got.Code, whole[size_t(i)].Code) << i;
            } else if (i < 503 + 2 * 900) {
                // Beyond the look-back the kanji bytes read as ASCII.
                EXPECT_EQ(got.Code, char32_t(doc[size_t(i)])) << i;
            }
        }
    }
    EXPECT_GT(compared, 1500);
    // A row that begins on the second byte of a kanji: the kanji began in the row above.
    const int row = 503 + 2 * 400 + 1;
    const Bytes stretch(doc.begin() + row - TVxJisDecoder::kLookback, doc.begin() + row + 23);
    const auto d = Decode(stretch, row - TVxJisDecoder::kLookback, TVxJisDecoder::kLookback);
    EXPECT_EQ(d[TVxJisDecoder::kLookback].Span, 0);
    EXPECT_EQ(d[TVxJisDecoder::kLookback - 1].Span, 2);
    EXPECT_NE(d[TVxJisDecoder::kLookback - 1].Code, kInvalid);
    // Before the escape the stretch's bytes are guesses, not characters.
    const int escape = 500 - (row - TVxJisDecoder::kLookback);
    EXPECT_EQ(Units(std::vector<TVxDecodedChar>(d.begin(), d.begin() + escape)), std::u32string(size_t(escape), kInvalid));
}

TEST(JisEncoder, EveryJisX0208CharacterRoundTripsThroughTheDecoder)
{
    // All of JIS X 0208 mixed with ASCII, half-width katakana and the three allowed
    // controls, so that the modes change often.
    std::u16string text;
    int switches = 0; // how often the mode changes, counting the return to ASCII at the end
    int mode = 0;     // 0 ASCII, 1 kanji, 2 katakana
    auto add = [&](char16_t c, int m) {
        switches += m != mode;
        mode = m;
        text += c;
    };
    const std::vector<TJisChar> &all = JisX0208();
    ASSERT_GT(all.size(), 6800u);
    for (size_t k = 0; k < all.size(); ++k) {
        add(all[k].Char, 1);
        if (k % 7 == 0)
            add(char16_t(u' ' + k % 95), 0);
        if (k % 11 == 0)
            add(char16_t(0xFF61 + k % 63), 2);
        if (k % 13 == 0)
            add(u"\t\n\r"[k % 3], 0);
    }
    switches += mode != 0;

    std::string bytes;
    size_t bad = 99;
    ASSERT_TRUE(TVxJisEncoder::Encode(text, bytes, bad)) << "refused index " << bad << " U+" << std::hex << int(text[bad]);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\x1B'), switches);
    EXPECT_TRUE(std::all_of(bytes.begin(), bytes.end(), [](char c) { return uint8_t(c) < 0x80; }));
    const auto d = Decode(Bytes(bytes.begin(), bytes.end()));
    std::u32string chars;
    for (char32_t c : Units(d))
        if (c != kInvalid)
            chars += c;
    EXPECT_EQ(chars, std::u32string(text.begin(), text.end()));
}

TEST(JisEncoder, WritesEscapesOnlyWhereTheModeChanges)
{
    std::string bytes;
    size_t bad = 0;
    ASSERT_TRUE(TVxJisEncoder::Encode(u"Aｱｲ亜あB", bytes, bad));
    EXPECT_EQ(bytes, "A\x1B(I\x31\x32\x1B$B\x30\x21\x24\x22\x1B(BB");
    ASSERT_TRUE(TVxJisEncoder::Encode(u"plain\r\n", bytes, bad));
    EXPECT_EQ(bytes, "plain\r\n");
    ASSERT_TRUE(TVxJisEncoder::Encode(u"", bytes, bad));
    EXPECT_EQ(bytes, "");
}

TEST(JisEncoder, RefusesWhatIsoJpCannotCarry)
{
    // Controls that would break the byte stream, JIS X 0212 (丂, é), a character of no
    // Japanese set (가), a lone surrogate and a character beyond the BMP.
    const struct {
        std::u16string Text;
        size_t Bad;
    } cases[] = {{u"ab\x1B", 2}, {u"\x0E", 0}, {u"a\x7F", 1}, {u"亜\u4E02", 1}, {u"x\u00E9", 1},
                 {u"あ가", 1},   {u"a\xD800" u"b", 1}, {u"\xDC00", 0}, {u"ｱ\U0001F600", 1}};
    for (const auto &c : cases) {
        std::string bytes;
        size_t bad = 99;
        EXPECT_FALSE(TVxJisEncoder::Encode(c.Text, bytes, bad)) << c.Bad;
        EXPECT_EQ(bad, c.Bad);
    }
}

#if HX_HAVE_ICONV
TEST(JisEncoder, AgreesWithIconvWhereItsTableAgreesWithCp932)
{
    // Characters whose EUC-JP form glibc decodes as the column's table does; glibc's
    // ISO-2022-JP must then read the encoder's bytes as the same text.
    std::u16string text;
    for (const TJisChar &c : JisX0208()) {
        const auto out = IconvConvert("UTF-16LE", "EUC-JP", std::string{char(c.Euc[0]), char(c.Euc[1])});
        if (out && out->size() == 2 && char16_t(uint8_t((*out)[0]) | uint8_t((*out)[1]) << 8) == c.Char)
            text += c.Char;
    }
    ASSERT_GT(text.size(), 6800u);
    text = u"ab" + text + u"cd";

    std::string bytes;
    size_t bad = 0;
    ASSERT_TRUE(TVxJisEncoder::Encode(text, bytes, bad));
    const auto out = IconvConvert("UTF-16LE", "ISO-2022-JP", bytes);
    ASSERT_TRUE(out);
    std::u16string back(out->size() / 2, 0);
    std::memcpy(back.data(), out->data(), back.size() * 2);
    EXPECT_EQ(back, text);
}
#endif
