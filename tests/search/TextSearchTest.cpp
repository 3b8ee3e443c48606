// Searching a text in the code the column shows. The differential test holds the scan
// (blocks, folding, the look-back check of each candidate) against the plainest reading of
// "find this text": decode the whole document from its first byte and look for the text's
// characters among the characters. Then the cases users meet: a match that starts inside a
// character is no match, case folding per code, JIS modes, and Shift-JIS searched byte for
// byte as it always was.

#include "TVxCharDecoder.h"
#include "TVxCharTable.h"
#include "TVxError.h"
#include "TVxSearchEngine.h"
#include "TVxSearcher.h"
#include "TVxTextCodec.h"
#include "TVxTextPattern.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <random>

namespace {
std::u16string U(const char *utf8) { return TVxTextCodec::FromUtf8(utf8); }

std::u32string Chars(const std::u16string &s)
{
    std::u32string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] >= 0xD800 && s[i] <= 0xDBFF && i + 1 < s.size())
            out += char32_t(0x10000 + ((s[i] - 0xD800) << 10) + (s[i + 1] - 0xDC00)), ++i;
        else
            out += s[i];
    }
    return out;
}

char32_t Folded(char32_t c, bool ic) { return ic && c >= 'A' && c <= 'Z' ? c + 0x20 : c; }

// The first (or, backward, last) character start p of the whole document's decoding where
// the text's characters follow one another, inside [start, endBound] as the search bounds
// say, or -1.
int32_t NaiveFind(const TVxTextCodec &codec, const std::vector<uint8_t> &d, const std::u16string &text,
                  int32_t n, int32_t start, bool ic, bool backward)
{
    std::vector<TVxDecodedChar> u(d.size());
    codec.Decoder().Decode(d.data(), int(d.size()), 0, 0, u.data());
    const std::u32string want = Chars(text);
    auto matches = [&](int32_t p) {
        size_t k = 0;
        int32_t q = p;
        while (k < want.size() && q < int32_t(d.size())) {
            if (u[size_t(q)].Span == 0 || Folded(u[size_t(q)].Code, ic) != Folded(want[k], ic))
                return false;
            q += u[size_t(q)].Span;
            ++k;
        }
        return k == want.size() && q - p == n;
    };
    const int32_t size = int32_t(d.size());
    if (!backward) {
        for (int32_t p = std::max(start, 0); p + n <= size; ++p)
            if (matches(p))
                return p;
    } else {
        for (int32_t p = std::min(start, size - 1) - n + 1; p >= 0; --p)
            if (matches(p))
                return p;
    }
    return -1;
}

struct TextSearch : ::testing::Test {
    TScratchDir dir;
    TVxDocument doc;
    std::vector<uint8_t> data;
    void Load(const std::string &bytes)
    {
        data.assign(bytes.begin(), bytes.end());
        LoadDocument(doc, dir.File("t.bin"), data);
    }
    int32_t Find(const TVxTextCodec &codec, const std::u16string &text, int32_t start, bool ic, bool back,
                 int32_t block = TVxSearcher::kBlockSize)
    {
        return TVxSearcher(doc, block).Search(TVxTextPattern::Make(codec, text, ic, doc), start,
                                              back ? 0 : int32_t(data.size()) - 1, ic, back);
    }
};

std::shared_ptr<const TVxCharTable> SmallTable()
{
    return TVxCharTable::Parse("41=A\n61=a\n42=B\n62=b\n8041=日\n8042=本\n80=語\n4142=Æ\n");
}
} // namespace

TEST_F(TextSearch, FindsWhatTheWholeDocumentsCharactersHoldInEveryCode)
{
    const char *alphabet[] = {"A", "a", "b", "B", "日", "本", "語", "ｶ", "\xF0\x9F\x98\x80"};
    std::vector<TVxTextCodec> codecs = {TVxTextCodec(ccEUC), TVxTextCodec(ccUTF8), TVxTextCodec(ccUNICODE),
                                        TVxTextCodec(SmallTable())};
    for (size_t c = 0; c < codecs.size(); ++c) {
        const TVxTextCodec &codec = codecs[c];
        std::vector<std::u16string> letters;
        for (const char *a : alphabet) {
            std::string b;
            size_t bad = 0;
            if (codec.Encode(U(a), b, bad))
                letters.push_back(U(a));
        }
        for (uint32_t seed = 1; seed <= 40; ++seed) {
            std::mt19937 rng(seed * 7 + uint32_t(c));
            std::string bytes;
            const size_t chars = seed % 8 == 0 ? 3000 : 40 + rng() % 200;
            for (size_t i = 0; i < chars; ++i) {
                if (rng() % 10 == 0) {
                    bytes += char(rng()); // a stray byte: characters around it shift
                    continue;
                }
                bytes += codec.EncodeOrThrow(letters[rng() % letters.size()]);
            }
            Load(bytes);
            for (int i = 0; i < 30; ++i) {
                std::u16string text;
                for (size_t k = 1 + rng() % 3; k > 0; --k)
                    text += letters[rng() % letters.size()];
                std::string encoded;
                size_t bad = 0;
                if (!codec.Encode(text, encoded, bad))
                    continue; // table entries that would run together: no bytes to find
                const int32_t n = int32_t(encoded.size());
                const bool ic = rng() % 2, back = rng() % 2;
                const int32_t start = int32_t(rng() % (data.size() + 1));
                const int32_t block = seed % 3 == 0 ? 7 : TVxSearcher::kBlockSize;
                ASSERT_EQ(Find(codec, text, start, ic, back, block), NaiveFind(codec, data, text, n, start, ic, back))
                    << "code " << codec.Name() << " seed " << seed << " #" << i << " start " << start << " ic " << ic
                    << " back " << back << " text " << TVxTextCodec::ToUtf8(text) << " bytes " << ::testing::PrintToString(std::vector<int>(data.begin(), data.begin() + std::min<size_t>(data.size(), 70)));
            }
        }
    }
}

TEST_F(TextSearch, AMatchStartingInsideACharacterCountsOnlyForShiftJis)
{
    // 日本 in EUC-JP is C6 FC CB DC; FC CB is no character either, but B0 A1 inside
    // "亜亜" (B0 A1 B0 A1) read from its second byte is A1 B0: 、+ a half of 亜.
    const TVxTextCodec euc(ccEUC);
    Load(euc.EncodeOrThrow(U("x亜亜")));
    const uint8_t inner[] = {0xA1, 0xB0};
    const std::u16string straddling = euc.Decode(inner, 2, false);
    ASSERT_EQ(straddling.size(), 1u);
    EXPECT_EQ(Find(euc, straddling, 0, false, false), -1);
    EXPECT_EQ(Find(euc, U("亜"), 2, false, false), 3);
    // Far into a run of double-byte characters, where only the run's start tells the pairs.
    std::string run = "x";
    for (int i = 0; i < 600; ++i)
        run += euc.EncodeOrThrow(U("亜"));
    Load(run);
    EXPECT_EQ(Find(euc, straddling, 0, false, false), -1);
    EXPECT_EQ(Find(euc, straddling, int32_t(data.size()), false, true), -1);
    EXPECT_EQ(Find(euc, U("亜"), 1000, false, false), 1001);

    // UTF-16: 00 41 across two units of "AA" is U+4100 read one byte late.
    const TVxTextCodec utf16(ccUNICODE);
    Load(utf16.EncodeOrThrow(U("AA")));
    EXPECT_EQ(Find(utf16, std::u16string(1, char16_t(0x4100)), 0, false, false), -1);
    EXPECT_EQ(Find(utf16, U("A"), 1, false, false), 2);

    // Shift-JIS keeps every byte occurrence: "A" (0x41) inside ア (0x83 0x41) is found.
    const TVxTextCodec sjis(ccSJIS);
    Load(sjis.EncodeOrThrow(U("ア")));
    EXPECT_EQ(Find(sjis, U("A"), 0, false, false), 1);
}

TEST_F(TextSearch, CaseFoldsTheLatinLettersOfEachCodeAndNothingElse)
{
    // UTF-16: A folds as a unit; the capital's byte inside 䅁 (41 41) is not a letter.
    const TVxTextCodec utf16(ccUNICODE);
    Load(utf16.EncodeOrThrow(U("䅁xAbC")));
    EXPECT_EQ(Find(utf16, U("abc"), 0, true, false), 4);
    EXPECT_EQ(Find(utf16, U("abc"), 0, false, false), -1);
    EXPECT_EQ(Find(utf16, U("aa"), 0, true, false), -1);
    // Fullwidth letters stay as they are, in UTF-8 as in Shift-JIS.
    const TVxTextCodec utf8(ccUTF8);
    Load(utf8.EncodeOrThrow(U("Ａｂｃ ABC")));
    EXPECT_EQ(Find(utf8, U("ａｂｃ"), 0, true, false), -1);
    EXPECT_EQ(Find(utf8, U("abc"), int32_t(data.size()), true, true), 10);
    // A table folds a one-byte capital to the one-byte entry of its small letter.
    const TVxTextCodec table(SmallTable());
    Load(std::string("\x80\x41\x80\x42" "Ab", 6));
    EXPECT_EQ(Find(table, U("aB"), 0, true, false), 4);
    EXPECT_EQ(Find(table, U("本"), 0, true, false), 2);
}

TEST_F(TextSearch, JisFindsAWordInsideARunOfItsModeAndNotInAnother)
{
    const TVxTextCodec jis(ccJIS);
    // "日本語" then ASCII "F|" whose bytes equal 日's (0x46 0x7C).
    Load(jis.EncodeOrThrow(U("語日本語")) + "F|K\\");
    const int32_t kanji = 3 + 2; // after ESC $ B and 語
    EXPECT_EQ(Find(jis, U("日本"), 0, false, false), kanji);
    EXPECT_EQ(Find(jis, U("日本"), kanji + 1, false, false), -1);
    EXPECT_EQ(Find(jis, U("F|"), 0, false, false), int32_t(data.size()) - 4);
    EXPECT_EQ(Find(jis, U("f|k"), 0, true, false), int32_t(data.size()) - 4);
}

TEST_F(TextSearch, TheEngineSearchesInTheCodeItIsGivenAndRefusesWhatTheCodeLacks)
{
    Load("abc \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E def");
    TVxSearchEngine engine(doc);
    EXPECT_EQ(engine.Find("日本語", false, false, true, 0, 0, -1), -1); // searched as CP932
    engine.SetCodec(TVxTextCodec(ccUTF8));
    EXPECT_EQ(engine.Find("日本語", false, false, true, 0, 0, -1), 4);
    EXPECT_EQ(engine.MatchLength(), 9);
    EXPECT_EQ(engine.FindNext(4, 4, 12), -1);
    engine.SetCodec(TVxTextCodec(ccEUC));
    EXPECT_THROW(engine.Find("€", false, false, true, 0, 0, -1), TVxError);
    EXPECT_EQ(engine.State().SearchText(), "€"); // still the text typed, for the history
}
