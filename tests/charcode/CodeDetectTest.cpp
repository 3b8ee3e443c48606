// Guessing a document's code: real Japanese texts written in each code by the program's own
// codecs, BOMs, binary data, and the window's edge.

#include "TVxCodeDetect.h"
#include "TVxTextCodec.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {
using Bytes = std::vector<uint8_t>;

const char kNovel[] = "吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当がつかぬ。何でも薄暗いじめじめした"
                      "所でニャーニャー泣いていた事だけは記憶している。吾輩はここで始めて人間というものを見た。";
const char kManual[] = "Hexcavator 1.2 の検索機能は、UTF-8 と Shift_JIS の両方に対応しています。\r\n"
                       "ファイルサイズ: 1,024 バイト (ｶﾀｶﾅ表示あり)\r\n\tオフセット 0x0040 から読み込み。\n";
const char kShort[] = "日本語";
const char kKatakanaKanji[] = "カタカナ漢字変換辞書登録";

Bytes Encode(TVxCharCode code, const char *utf8)
{
    std::string bytes;
    size_t bad = 0;
    EXPECT_TRUE(TVxTextCodec(code).Encode(TVxTextCodec::FromUtf8(utf8), bytes, bad)) << "refused at " << bad;
    return Bytes(bytes.begin(), bytes.end());
}

Bytes Repeat(const Bytes &b, size_t atLeast)
{
    Bytes out;
    while (out.size() < atLeast)
        out.insert(out.end(), b.begin(), b.end());
    return out;
}

Bytes Cat(Bytes a, const Bytes &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes Ascii(const std::string &s) { return Bytes(s.begin(), s.end()); }

std::optional<TVxCharCode> Detect(const Bytes &b) { return TVxCodeDetect::Detect(b.data(), b.size()); }
} // namespace

TEST(CodeDetect, JapaneseTextIsFoundInEveryCode)
{
    for (const TVxCharCode code : {ccUTF8, ccJIS, ccEUC, ccSJIS})
        for (const char *text : {kNovel, kManual, kShort, kKatakanaKanji}) {
            const Bytes once = Encode(code, text);
            EXPECT_EQ(Detect(once), code) << "code " << code << ": " << text;
            EXPECT_EQ(Detect(Repeat(once, 200 * 1024)), code) << "code " << code << ", long: " << text;
        }
}

TEST(CodeDetect, ByteOrderMarksDecideWhateverFollows)
{
    const Bytes utf8Bom{0xEF, 0xBB, 0xBF}, utf16Bom{0xFF, 0xFE};
    EXPECT_EQ(Detect(Cat(utf8Bom, Ascii("plain ASCII"))), ccUTF8);
    EXPECT_EQ(Detect(Cat(utf8Bom, Encode(ccSJIS, kNovel))), ccUTF8);
    EXPECT_EQ(Detect(Cat(utf16Bom, Encode(ccUNICODE, kManual))), ccUNICODE);
    EXPECT_EQ(Detect(utf16Bom), ccUNICODE);
    // Without its BOM, UTF-16 is full of zeros: nothing is guessed.
    EXPECT_EQ(Detect(Encode(ccUNICODE, kManual)), std::nullopt);
    // Half a BOM is no BOM (and EF BB is a pair in both EUC-JP and Shift-JIS: a tie).
    EXPECT_EQ(Detect(Bytes{0xEF, 0xBB, 'A'}), std::nullopt);
}

TEST(CodeDetect, AsciiAndBinaryDataKeepTheCurrentCode)
{
    EXPECT_EQ(Detect(Bytes()), std::nullopt);
    EXPECT_EQ(Detect(Ascii("#include <stdio.h>\r\nint main(void) { return 0; }\n")), std::nullopt);

    std::mt19937 rng(3);
    Bytes random(64 * 1024);
    for (auto &b : random)
        b = uint8_t(rng());
    EXPECT_EQ(Detect(random), std::nullopt);
    // Random bytes without a single zero still hold control bytes everywhere.
    Bytes noZeros(4096);
    for (auto &b : noZeros)
        b = uint8_t(1 + rng() % 255);
    EXPECT_EQ(Detect(noZeros), std::nullopt);

    // An ELF header with its zeros, then a string table holding UTF-8 text.
    Bytes elf{0x7F, 'E', 'L', 'F', 2, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0x3E, 0, 1, 0, 0, 0};
    elf = Cat(Cat(elf, Bytes(40, 0)), Encode(ccUTF8, kNovel));
    EXPECT_EQ(Detect(elf), std::nullopt);
    // One zero byte in every 4 KiB of text is enough.
    Bytes zeros = Repeat(Encode(ccUTF8, kNovel), 64 * 1024);
    for (size_t i = 4096; i < zeros.size(); i += 4096)
        zeros[i] = 0;
    EXPECT_EQ(Detect(zeros), std::nullopt);

    // Text with a few control bytes (a form feed, escape sequences of a terminal) is text.
    const Bytes colored = Cat(Ascii("\x1B[1mbold\x1B[0m\f"), Repeat(Encode(ccUTF8, kManual), 1000));
    EXPECT_EQ(Detect(colored), ccUTF8);
    // ... but control bytes beyond one in 64 make it binary.
    Bytes noisy = Encode(ccUTF8, kNovel);
    for (size_t i = 0; i < noisy.size(); i += 32)
        noisy.insert(noisy.begin() + std::ptrdiff_t(i), 0x01);
    EXPECT_EQ(Detect(noisy), std::nullopt);
}

TEST(CodeDetect, Utf8MustBeWellFormedExceptWhereTheWindowCutsIt)
{
    // A UTF-8 text whose 64 KiB window ends inside a character, read whole and as the
    // program reads it (the window alone).
    const Bytes novel = Repeat(Encode(ccUTF8, kNovel), 100 * 1024);
    const size_t cut = TVxCodeDetect::kWindow;
    Bytes text;
    for (const char *pad : {"", "x", "xx"}) {
        text = Cat(Ascii(pad), novel);
        if ((text[cut] & 0xC0) == 0x80)
            break;
    }
    ASSERT_EQ(text[cut] & 0xC0, 0x80) << "the window must end inside a character";
    EXPECT_EQ(Detect(text), ccUTF8);
    EXPECT_EQ(TVxCodeDetect::Detect(text.data(), cut), ccUTF8);
    // What lies beyond the window is not read.
    text[cut + 1] = 0xFF;
    EXPECT_EQ(Detect(text), ccUTF8);
    EXPECT_EQ(Detect(Cat(Repeat(Ascii("ascii only "), TVxCodeDetect::kWindow), Encode(ccUTF8, kNovel))),
              std::nullopt);

    // A character cut anywhere but at the end is not UTF-8.
    Bytes broken = Encode(ccUTF8, kNovel);
    broken.erase(broken.begin() + 10);
    EXPECT_NE(Detect(broken), ccUTF8);
    // Overlong forms, surrogates and code points beyond U+10FFFF are not UTF-8 either.
    for (const Bytes &bad : {Bytes{0xC0, 0xAF}, Bytes{0xE0, 0x80, 0xAF}, Bytes{0xED, 0xA0, 0x80},
                             Bytes{0xF4, 0x90, 0x80, 0x80}, Bytes{0xF8, 0x88, 0x80, 0x80, 0x80}})
        EXPECT_NE(Detect(Cat(Cat(Ascii("ab "), bad), Ascii(" cd"))), ccUTF8) << int(bad[0]) << " " << int(bad[1]);
    // A lead byte alone at the very end proves nothing; with a continuation byte it does.
    EXPECT_EQ(Detect(Ascii("plain text \xE6")), std::nullopt);
    EXPECT_EQ(Detect(Ascii("plain text \xE6\xA4")), ccUTF8);
}

TEST(CodeDetect, JisNeedsItsKanjiEscapeAndSevenBits)
{
    EXPECT_EQ(Detect(Ascii("mail: \x1B$B$3$s$K$A$O\x1B(B end\r\n")), ccJIS);
    EXPECT_EQ(Detect(Ascii("old: \x1B$@$3$s\x1B(J end")), ccJIS);
    // ESC ( B alone switches to ASCII only: plain text.
    EXPECT_EQ(Detect(Ascii("\x1B(Bascii\x1B(J")), std::nullopt);
    // A byte above 0x7F rules ISO-2022-JP out.
    const Bytes eightBit = Cat(Encode(ccJIS, kNovel), Encode(ccSJIS, kShort));
    EXPECT_NE(Detect(eightBit), ccJIS);
}

TEST(CodeDetect, EucJpAndShiftJisAreToldApartByTheirPairs)
{
    // Half-width katakana and kanji in one Shift-JIS text.
    EXPECT_EQ(Detect(Encode(ccSJIS, "ｶﾀｶﾅと漢字の混在")), ccSJIS);
    EXPECT_EQ(Detect(Encode(ccEUC, "ｶﾀｶﾅと漢字の混在")), ccEUC);
    // A Shift-JIS text with one broken pair is still Shift-JIS; so is EUC-JP.
    Bytes sjis = Encode(ccSJIS, kNovel);
    sjis[sjis.size() / 2] = 0xFF;
    EXPECT_EQ(Detect(sjis), ccSJIS);
    Bytes euc = Encode(ccEUC, kNovel);
    euc[euc.size() / 2] = 0x85;
    EXPECT_EQ(Detect(euc), ccEUC);
    // One kanji each.
    EXPECT_EQ(Detect(Encode(ccSJIS, "漢")), ccSJIS);
    EXPECT_EQ(Detect(Encode(ccEUC, "漢")), ccEUC);
    // Bytes that are neither: nothing clear.
    EXPECT_EQ(Detect(Ascii("a\x80 b\xA0 c\xFD")), std::nullopt);
}
