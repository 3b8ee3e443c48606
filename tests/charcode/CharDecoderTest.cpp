// The character column's decoders against the standard ones: glibc's iconv for the Japanese
// code pages (every double- and triple-byte code), Qt's UTF-8 and UTF-16 decoders on random
// input, plus the cases where a character meets the edge of a row or of the document.

#include "TVxCharDecoder.h"
#include "TVxCharDecoderFactory.h"
#include "TVxCharRun.h"
#include "TVxDocument.h"
#include "../engine/TestSupport.h"

#include <QList>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>
#include <gtest/gtest.h>

#include "IconvReference.h"

#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {
constexpr char32_t kInvalid = TVxCharDecoder::kInvalid;
using Bytes = std::vector<uint8_t>;

std::vector<TVxDecodedChar> Decode(TVxCharCode code, const Bytes &b, int32_t base = 0, int first = 0)
{
    std::vector<TVxDecodedChar> out(b.size());
    TVxCharDecoderFactory::For(code).Decode(b.data(), int(b.size()), base, first, out.data());
    return out;
}

std::u32string Units(const std::vector<TVxDecodedChar> &chars, int from = 0) { return DecodedUnits(chars, size_t(from)); }

// The spans in order, 0 inside characters.
std::vector<int> Spans(const std::vector<TVxDecodedChar> &chars)
{
    std::vector<int> s;
    for (const TVxDecodedChar &c : chars)
        s.push_back(c.Span);
    return s;
}


// Qt's decoding, unit by unit: a surrogate pair as one code point, a lone surrogate as itself.
std::u32string QtDecode(const char *encoding, const Bytes &in)
{
    QStringDecoder d(encoding, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const QString s = d.decode(QByteArrayView(reinterpret_cast<const char *>(in.data()), qsizetype(in.size())));
    std::u32string out;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i].isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate()) {
            out += QChar::surrogateToUcs4(s[i], s[i + 1]);
            ++i;
        } else {
            out += s[i].unicode();
        }
    }
    return out;
}

// A document holding the bytes, for the row runs.
struct TDoc {
    TScratchDir Dir;
    TVxDocument Doc;
    explicit TDoc(const Bytes &b)
    {
        WriteFileBytes(Dir.File("d.bin"), b);
        Doc.LoadFromFile(Dir.File("d.bin"));
    }
};
} // namespace

#if HX_HAVE_ICONV
TEST(CharDecoder, ShiftJisPairsMatchIconvCp932)
{
    int compared = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead >= 0xA0 && lead < 0xE0)
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F)
                continue;
            const Bytes b{uint8_t(lead), uint8_t(trail)};
            const auto want = IconvDecode("CP932", b);
            const auto got = Decode(ccSJIS, b);
            ASSERT_EQ(got[0].Span, 2);
            if (want && want->size() == 1) {
                ++compared;
                EXPECT_EQ(got[0].Code, (*want)[0]) << std::hex << lead << trail;
            } else {
                EXPECT_EQ(got[0].Code, TVxCharDecoder::kUnmapped) << std::hex << lead << trail;
            }
        }
    }
    EXPECT_GT(compared, 9000);
    // Single bytes: ASCII, half-width katakana, invalid bytes; a lead without its trail.
    const auto s = Decode(ccSJIS, {'A', 0xB1, 0xDF, 0x80, 0xA0, 0xFD, 0x0A, 0x82});
    EXPECT_EQ(Units(s), (std::u32string{U'A', 0xFF71, 0xFF9F, kInvalid, kInvalid, kInvalid, 0x0A, kInvalid}));
}

TEST(CharDecoder, EucJpMatchesIconvOnEveryCodeButTheCp932Variants)
{
    // Where the standard EUC-JP table and CP932's disagree, the column follows CP932, so one
    // JIS character shows the same in the EUC and the Shift-JIS column.
    const struct {
        uint16_t Euc, Sjis;
    } kVariants[] = {{0xA1C1, 0x8160}, {0xA1C2, 0x8161}, {0xA1DD, 0x817C},
                     {0xA1F1, 0x8191}, {0xA1F2, 0x8192}, {0xA2CC, 0x81CA}};
    std::vector<Bytes> codes;
    for (int a = 0xA1; a <= 0xFE; ++a)
        for (int b = 0xA1; b <= 0xFE; ++b) {
            codes.push_back({uint8_t(a), uint8_t(b)});
            codes.push_back({0x8F, uint8_t(a), uint8_t(b)});
        }
    for (int b = 0xA1; b <= 0xDF; ++b)
        codes.push_back({0x8E, uint8_t(b)});
    int compared = 0, variants = 0;
    for (const Bytes &code : codes) {
        const auto got = Decode(ccEUC, code);
        ASSERT_EQ(got[0].Span, int(code.size()));
        const auto want = IconvDecode("EUC-JP", code);
        if (!want)
            continue;
        ++compared;
        const uint16_t twoByte = code.size() == 2 ? uint16_t(code[0] << 8 | code[1]) : 0;
        bool variant = false;
        for (const auto &v : kVariants)
            if (v.Euc == twoByte) {
                variant = true;
                ++variants;
                const auto sjis = Decode(ccSJIS, {uint8_t(v.Sjis >> 8), uint8_t(v.Sjis)});
                EXPECT_EQ(got[0].Code, sjis[0].Code) << std::hex << twoByte;
                EXPECT_NE(got[0].Code, (*want)[0]);
            }
        if (!variant) {
            EXPECT_EQ(std::u32string(1, got[0].Code), *want) << QByteArray(reinterpret_cast<const char *>(code.data()), int(code.size())).toHex().constData();
        }
    }
    EXPECT_GT(compared, 12000);
    EXPECT_EQ(variants, 6);
}

TEST(CharDecoder, EucJpSequencesAndTheirBrokenForms)
{
    // あ, ｱ (0x8E 0xB1), 丂 (0x8F 0xB0 0xA1), then a lead before ASCII, 0x8E before a byte
    // that is no katakana, 0x8F with one good byte, stray high bytes, and a truncated pair.
    const Bytes b{0xA4, 0xA2, 0x8E, 0xB1, 0x8F, 0xB0, 0xA1, 0xA4, 'A', 0x8E, 0xE0, 'B',
                  0x8F, 0xB0, 'C', 0x80, 0xA0, 0xFF, 0x0A, 0xA4};
    const auto d = Decode(ccEUC, b);
    EXPECT_EQ(Spans(d), (std::vector<int>{2, 0, 2, 0, 3, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(Units(d), (std::u32string{0x3042, 0xFF71, 0x4E02, kInvalid, U'A', kInvalid, kInvalid, U'B', kInvalid,
                                        kInvalid, U'C', kInvalid, kInvalid, kInvalid, 0x0A, kInvalid}));

    // Random text of valid characters decodes as iconv decodes it.
    std::mt19937 rng(14);
    const Bytes samples[] = {{'x'}, {' '}, {0xA4, 0xA2}, {0xB0, 0xA1}, {0x8E, 0xB6}, {0x8F, 0xB0, 0xA1}, {0xC6, 0xFC}};
    for (int round = 0; round < 200; ++round) {
        Bytes text;
        while (text.size() < 64) {
            const Bytes &s = samples[rng() % std::size(samples)];
            text.insert(text.end(), s.begin(), s.end());
        }
        EXPECT_EQ(Units(Decode(ccEUC, text)), *IconvDecode("EUC-JP", text));
    }
}
#endif

TEST(CharDecoder, EucJpRowsFindWhereTheirCharactersBegin)
{
    // One ASCII byte, then unbroken double-byte text: the pairs begin at odd offsets, and the
    // second row begins inside the pair at 15..16. Without any ASCII byte in reach, pairs
    // are taken to begin at even offsets.
    Bytes b{'A'};
    for (int i = 0; i < 20; ++i)
        b.insert(b.end(), {0xA4, 0xA2});
    TDoc d(b);
    TVxCharRun run;
    run.Read(d.Doc, 16, TVxCharDecoderFactory::For(ccEUC));
    EXPECT_EQ(run.CharAt(16), 15 - run.Base);
    EXPECT_EQ(run.Chars[run.CharAt(17)].Code, 0x3042u);
    EXPECT_EQ(run.CharAt(17), 17 - run.Base);

    Bytes even;
    for (int i = 0; i < 40; ++i)
        even.insert(even.end(), {0xC6, 0xFC});
    TDoc e(even);
    run.Read(e.Doc, 48, TVxCharDecoderFactory::For(ccEUC));
    EXPECT_EQ(run.CharAt(48), 48 - run.Base);
    EXPECT_EQ(run.Chars[run.CharAt(48)].Code, 0x65E5u); // 日
}

TEST(CharDecoder, Utf16MatchesQtOnRandomUnits)
{
    std::mt19937 rng(16);
    const char16_t kinds[] = {u'A', 0x3042, 0xD83D, 0xDE00, 0xDBFF, 0xDC00, 0x000A, 0x00E9};
    for (int round = 0; round < 300; ++round) {
        Bytes b;
        for (int i = 0; i < 24; ++i) {
            const char16_t u = kinds[rng() % std::size(kinds)];
            b.push_back(uint8_t(u));
            b.push_back(uint8_t(u >> 8));
        }
        if (round % 3 == 0)
            b.push_back(0x41); // an odd last byte
        // Qt keeps unpaired surrogates and ends an odd input with U+FFFD; the column shows
        // both bytes of such a surrogate as invalid, and the odd byte too.
        std::u32string want;
        for (char32_t c : QtDecode("UTF-16LE", b)) {
            if (c >= 0xD800 && c <= 0xDFFF)
                want += std::u32string{kInvalid, kInvalid};
            else if (c == 0xFFFD)
                want += kInvalid;
            else
                want += c;
        }
        ASSERT_EQ(Units(Decode(ccUNICODE, b)), want) << "round " << round;
    }
}

TEST(CharDecoder, Utf16PairsAcrossRowsAndOddEdges)
{
    // A surrogate pair at 14..17 crosses from row 1 into row 2; the document ends in an odd
    // byte.
    Bytes b;
    for (int i = 0; i < 7; ++i)
        b.insert(b.end(), {'a', 0});
    b.insert(b.end(), {0x3D, 0xD8, 0x00, 0xDE, 'b', 0, 0x42});
    TDoc d(b);
    TVxCharRun run;
    run.Read(d.Doc, 0, TVxCharDecoderFactory::For(ccUNICODE));
    EXPECT_EQ(run.Chars[14].Span, 4);
    EXPECT_EQ(run.Chars[14].Code, 0x1F600u);
    run.Read(d.Doc, 16, TVxCharDecoderFactory::For(ccUNICODE));
    const int pair = run.CharAt(16);
    ASSERT_GE(pair, 0);
    EXPECT_EQ(run.Base + pair, 14);
    EXPECT_EQ(run.CharAt(17), pair);
    EXPECT_EQ(run.Chars[run.CharAt(18)].Code, char32_t('b'));
    EXPECT_EQ(run.CharAt(20), -1); // the odd last byte
    EXPECT_EQ(run.Chars[20 - run.Base].Code, kInvalid);

    // The parity comes from the document offset: a stretch that starts at an odd offset
    // begins with the second byte of a unit.
    EXPECT_EQ(Units(Decode(ccUNICODE, {0x00, 'A', 0x00}, 1)), (std::u32string{kInvalid, U'A'}));
}

TEST(CharDecoder, Utf8MatchesQtOnRandomBytes)
{
    // Bytes drawn from every class UTF-8 tells apart, so that overlong, surrogate, too large,
    // truncated and stray sequences all occur. Qt replaces every byte of an ill-formed
    // sequence by U+FFFD, as the column shows each as ".".
    const uint8_t kinds[] = {'a', 0x0A, 0x80, 0x9F, 0xA0, 0xBF, 0xC0, 0xC1, 0xC2, 0xDF, 0xE0, 0xE3,
                             0xED, 0xEF, 0xF0, 0xF3, 0xF4, 0xF5, 0xFF, 0x81, 0x90, 0x8F};
    std::mt19937 rng(8);
    for (int round = 0; round < 2000; ++round) {
        Bytes b;
        for (int i = 0; i < 20; ++i)
            b.push_back(kinds[rng() % std::size(kinds)]);
        std::u32string mine = Units(Decode(ccUTF8, b));
        for (char32_t &c : mine)
            if (c == kInvalid)
                c = 0xFFFD;
        ASSERT_EQ(mine, QtDecode("UTF-8", b)) << QByteArray(reinterpret_cast<const char *>(b.data()), 20).toHex().constData();
    }
}

TEST(CharDecoder, Utf8LengthsOverlongTruncatedAndAcrossRows)
{
    const auto one = Decode(ccUTF8, {'A', 0xC3, 0xA9, 0xE3, 0x81, 0x82, 0xF0, 0x9F, 0x98, 0x80});
    EXPECT_EQ(Spans(one), (std::vector<int>{1, 2, 0, 3, 0, 0, 4, 0, 0, 0}));
    EXPECT_EQ(Units(one), (std::u32string{U'A', 0xE9, 0x3042, 0x1F600}));
    // Overlong forms, a surrogate, beyond U+10FFFF: every byte its own ".".
    for (const Bytes &bad : {Bytes{0xC0, 0x80}, Bytes{0xE0, 0x80, 0x80}, Bytes{0xF0, 0x80, 0x80, 0x80},
                             Bytes{0xED, 0xA0, 0x80}, Bytes{0xF4, 0x90, 0x80, 0x80}})
        EXPECT_EQ(Units(Decode(ccUTF8, bad)), std::u32string(bad.size(), kInvalid));
    // Truncated by the next character, and by the end.
    EXPECT_EQ(Units(Decode(ccUTF8, {0xE3, 0x81, 'A', 0xE3, 0x81})),
              (std::u32string{kInvalid, kInvalid, U'A', kInvalid, kInvalid}));

    // あ at 15..17 crosses into row 2, whose run still knows where it began.
    Bytes b(15, 'x');
    b.insert(b.end(), {0xE3, 0x81, 0x82, 'y'});
    TDoc d(b);
    TVxCharRun run;
    run.Read(d.Doc, 0, TVxCharDecoderFactory::For(ccUTF8));
    EXPECT_EQ(run.Chars[15].Span, 3);
    run.Read(d.Doc, 16, TVxCharDecoderFactory::For(ccUTF8));
    EXPECT_EQ(run.Base + run.CharAt(16), 15);
    EXPECT_EQ(run.Base + run.CharAt(17), 15);
    EXPECT_EQ(run.Chars[run.CharAt(17)].Code, 0x3042u);
    EXPECT_EQ(run.Base + run.CharAt(18), 18);
}

#if HX_HAVE_ICONV
// Every row of long runs of two- and three-byte characters, at every alignment of the run,
// read as the column reads it (each row on its own, from its look-back), gives in order the
// characters iconv finds in the whole text: no row starts inside a character it misreads.
TEST(CharDecoder, EveryRowOfLongRunsReadsAsTheWholeTextAtEveryAlignment)
{
    struct Case {
        TVxCharCode code;
        const char *iconvName;
    } cases[] = {{ccSJIS, "CP932"}, {ccEUC, "EUC-JP"}, {ccUTF8, "UTF-8"}};
    // Kanji chosen so that Shift-JIS has second bytes in the lead range (漢 0x8ABF, 字 0x8E9A,
    // 院 0x8940, 機 0x8B40, 表 0x955C) and EUC-JP/UTF-8 have their usual two and three bytes.
    const std::string run = "漢字院機表示日本語";
    for (const Case &c : cases) {
        QStringEncoder enc(c.code == ccUTF8 ? "UTF-8" : c.code == ccSJIS ? "Shift_JIS" : "EUC-JP");
        const QByteArray unit = enc.encode(QString::fromUtf8(run.c_str()));
        for (int lead = 0; lead < 4; ++lead) {
            Bytes b(size_t(lead), 'A');
            for (int k = 0; k < 60; ++k) // far longer than any look-back of these codes
                b.insert(b.end(), unit.begin(), unit.end());
            const std::optional<std::u32string> whole = IconvDecode(c.iconvName, b);
            ASSERT_TRUE(whole) << c.iconvName;
            TDoc d(b);
            TVxCharRun row;
            std::u32string read;
            for (int32_t start = 0; start < int32_t(b.size()); start += 16) {
                row.Read(d.Doc, start, TVxCharDecoderFactory::For(c.code));
                for (int i = start - row.Base; i < row.Count && row.Base + i < start + 16; ++i)
                    if (row.Chars[size_t(i)].Span > 0)
                        read += row.Chars[size_t(i)].Code;
            }
            EXPECT_EQ(read, *whole) << c.iconvName << " after " << lead << " ASCII bytes";
        }
    }
}
#endif
