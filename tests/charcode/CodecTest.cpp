// The codecs of the character codes: every text that a code can carry goes to bytes and
// back unchanged, the bytes are the ones other converters (iconv) write, and a character a
// code cannot carry is refused by name instead of written as something else.

#include "TVxCharDecoder.h"
#include "TVxError.h"
#include "TVxTextCodec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "IconvReference.h"

#if HX_HAVE_ICONV
namespace {
// iconv's conversion of UTF-8 into `to`; empty when iconv refuses or lacks the code.
std::string Iconv(const char *to, const std::string &utf8) { return IconvConvert(to, "UTF-8", utf8).value_or(std::string()); }
} // namespace
#endif

namespace {
std::u16string U(const char *utf8) { return TVxTextCodec::FromUtf8(utf8); }

[[maybe_unused]] std::string Enc(TVxCharCode code, const std::u16string &text)
{
    std::string bytes;
    size_t bad = 0;
    EXPECT_TRUE(TVxTextCodec(code).Encode(text, bytes, bad)) << "refused at " << bad;
    return bytes;
}

// Every JIS X 0208 character that EUC-JP's table maps, as UTF-16.
std::vector<std::u16string> JisX0208()
{
    std::vector<std::u16string> out;
    const TVxTextCodec euc(ccEUC);
    for (int row = 0xA1; row <= 0xFE; ++row)
        for (int cell = 0xA1; cell <= 0xFE; ++cell) {
            const uint8_t b[2] = {uint8_t(row), uint8_t(cell)};
            const std::u16string c = euc.Decode(b, 2, false);
            if (c.size() == 1 && c[0] != 0x30FB && c[0] != u'.')
                out.push_back(c);
        }
    return out;
}
} // namespace

TEST(Codec, EveryJisX0208CharacterGoesThereAndBackInEveryMultiByteCode)
{
    const std::vector<std::u16string> chars = JisX0208();
    ASSERT_GT(chars.size(), 6800u); // JIS X 0208 has 6879 characters
    for (TVxCharCode code : {ccSJIS, ccEUC, ccUNICODE, ccUTF8, ccJIS}) {
        const TVxTextCodec codec(code);
        std::u16string all;
        for (const std::u16string &c : chars)
            all += c;
        std::string bytes;
        size_t bad = 0;
        ASSERT_TRUE(codec.Encode(all, bytes, bad)) << "code " << code << " refused " << int(all[bad]);
        const auto *b = reinterpret_cast<const uint8_t *>(bytes.data());
        EXPECT_EQ(codec.Decode(b, bytes.size(), false), all) << "code " << code;
    }
}

#if HX_HAVE_ICONV
TEST(Codec, BytesAreTheOnesIconvWrites)
{
    // Texts away from the few symbols whose mappings differ between CP932 and the JIS tables.
    const char *texts[] = {"abc 日本語 def", "ｶﾀｶﾅとカタカナ、漢字。", "Ａ１＠「」", "表示\r\n改行"};
    for (const char *t : texts) {
        EXPECT_EQ(Enc(ccUTF8, U(t)), std::string(t));
        EXPECT_EQ(Enc(ccUNICODE, U(t)), Iconv("UTF-16LE", t)) << t;
        EXPECT_EQ(Enc(ccSJIS, U(t)), Iconv("CP932", t)) << t;
        EXPECT_EQ(Enc(ccEUC, U(t)), Iconv("EUC-JP", t)) << t;
    }
    // ISO-2022-JP has no half-width katakana; iconv's own ESC $ B and ESC ( B are ours.
    EXPECT_EQ(Enc(ccJIS, U("abc 日本語 def")), Iconv("ISO-2022-JP", "abc 日本語 def"));
}
#endif

TEST(Codec, ACharacterTheCodeLacksIsRefusedByNameAndIndex)
{
    struct Case {
        TVxCharCode code;
        const char *text;
        size_t bad;
    } cases[] = {{ccSJIS, "ab€c", 2}, {ccEUC, "漢字😀", 2}, {ccJIS, "ｶ😀", 1}, {ccASCII, "x\xE2\x82\xAC", 1}};
    for (const Case &c : cases) {
        std::string bytes;
        size_t bad = 99;
        EXPECT_FALSE(TVxTextCodec(c.code).Encode(U(c.text), bytes, bad)) << c.text;
        EXPECT_EQ(bad, c.bad) << c.text;
    }
    // A lone surrogate has no bytes in any code.
    std::string bytes;
    size_t bad = 99;
    EXPECT_FALSE(TVxTextCodec(ccUTF8).Encode(std::u16string(u"a") + char16_t(0xD800), bytes, bad));
    EXPECT_EQ(bad, 1u);
    try {
        TVxTextCodec(ccEUC).EncodeOrThrow(U("a€"));
        ADD_FAILURE() << "no error";
    } catch (const TVxError &e) {
        EXPECT_EQ(e.Kind(), TVxErrorKind::TextNotEncodable);
        EXPECT_EQ(e.Other(), "€");
        EXPECT_EQ(e.Reason(), "EUC-JP");
    }
}

TEST(Codec, DecodingShowsTheColumnsTextAndKeepsLineBreaksOnlyWhenAsked)
{
    const std::string utf8 = "a\x01\r\n\xE6\x97\xA5\xFF";
    const auto *b = reinterpret_cast<const uint8_t *>(utf8.data());
    EXPECT_EQ(TVxTextCodec(ccUTF8).Decode(b, utf8.size(), true), U("a.\r\n日."));
    EXPECT_EQ(TVxTextCodec(ccUTF8).Decode(b, utf8.size(), false), U("a...日."));
    // A stretch cut out of a document: its look-back completes the character it starts in,
    // and the character that begins in it but ends after it comes whole.
    EXPECT_EQ(TVxTextCodec(ccUTF8).Decode(b, utf8.size(), 0, 5, 6, false), U(""));
    EXPECT_EQ(TVxTextCodec(ccUTF8).Decode(b, utf8.size(), 0, 4, 5, false), U("日"));
    // UTF-16 takes its pairing from the document offset.
    const uint8_t u16[] = {0x41, 0x00, 0x42, 0x00};
    EXPECT_EQ(TVxTextCodec(ccUNICODE).Decode(u16, 4, 0, 0, 4, false), U("AB"));
    EXPECT_EQ(TVxTextCodec(ccUNICODE).Decode(u16, 4, 1, 0, 4, false), std::u16string(u".\x4200."));
    // ASCII and Shift-JIS keep the filter's text.
    const uint8_t sjis[] = {0x82, 0xA0, 0x82, 0x20, 0x41};
    EXPECT_EQ(TVxTextCodec(ccSJIS).Decode(sjis, 5, false), U("あ. A"));
}

TEST(Codec, JisWrittenIntoARunOfAnotherModeHandsTheModeBack)
{
    const TVxTextCodec jis(ccJIS);
    // 日本 as one kanji run; "a" and then "語" are written between the two characters.
    const std::string doc = jis.EncodeOrThrow(U("日本"));
    const size_t at = 3 + 2; // ESC $ B 日
    for (const char *text : {"a", "語", "a語b"}) {
        const std::string bytes =
            jis.EncodeAtOrThrow(U(text), reinterpret_cast<const uint8_t *>(doc.data()), at);
        const std::string written = doc.substr(0, at) + bytes + doc.substr(at);
        const auto *b = reinterpret_cast<const uint8_t *>(written.data());
        EXPECT_EQ(jis.Decode(b, written.size(), false), U("日") + U(text) + U("本")) << text;
    }
    // In ASCII nothing is added: the text opens and closes its own escapes.
    const uint8_t ascii[] = {'x'};
    EXPECT_EQ(jis.EncodeAtOrThrow(U("a"), ascii, 1), "a");
    // Other codes are not touched by what comes before.
    EXPECT_EQ(TVxTextCodec(ccUTF8).EncodeAtOrThrow(U("a"), ascii, 1), "a");
}

#if HX_HAVE_ICONV
TEST(Codec, ShiftJisWritesEveryCp932CharacterAsWindowsDoes)
{
    // Every double-byte code of CP932, JIS X 0208 and the NEC and IBM rows: the character it
    // shows is written back as the bytes iconv's CP932 writes for it (for the characters with
    // two codes, the one Windows writes), and a text of all of them comes back whole.
    const TVxTextCodec sjis(ccSJIS);
    std::u16string all;
    int checked = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead > 0x9F && lead < 0xE0)
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F)
                continue;
            const uint8_t b[2] = {uint8_t(lead), uint8_t(trail)};
            const std::u16string c = sjis.Decode(b, 2, false);
            if (c.size() != 1 || c[0] == 0x30FB || c[0] == u'.')
                continue;
            const std::string theirs = Iconv("CP932", TVxTextCodec::ToUtf8(c));
            if (theirs.empty())
                continue;
            EXPECT_EQ(Enc(ccSJIS, c), theirs) << std::hex << lead << " " << trail;
            all += c;
            ++checked;
        }
    }
    EXPECT_GT(checked, 7000);
    std::string bytes;
    size_t bad = 0;
    ASSERT_TRUE(sjis.Encode(all, bytes, bad));
    EXPECT_EQ(sjis.Decode(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size(), false), all);
}
#endif
