#include "BenchText.h"

#include <random>

namespace {
// Nouns of an editor's manual; "検索" among them so that a search for "検索語" has to look
// closely, and 語 only inside words (日本語, 単語), never first.
const char16_t *const kNouns[] = {
    u"日本語", u"文字",   u"表示",   u"速度",     u"検索",     u"結果",   u"画面",     u"編集",
    u"保存",   u"読込",   u"変換",   u"漢字",     u"設定",     u"機能",   u"書式",     u"行頭",
    u"末尾",   u"選択",   u"範囲",   u"置換",     u"全角",     u"半角",   u"記号",     u"数値",
    u"番地",   u"先頭",   u"容量",   u"時間",     u"処理",     u"確認",   u"単語",     u"検索条件",
    u"言語",   u"辞書",   u"入力",   u"出力",     u"ファイル", u"データ", u"バイト",   u"テキスト",
    u"ウィンドウ", u"カーソル", u"メニュー", u"アドレス", u"コード", u"ページ", u"キャッシュ", u"検索結果",
};
const char16_t *const kParticles[] = {u"の", u"は", u"を", u"に", u"が", u"で", u"と", u"も", u"から", u"まで"};
const char16_t *const kEndings[] = {u"です", u"ます", u"した", u"する", u"こと", u"ため", u"できる", u"される"};
const char16_t *const kAscii[] = {u"Hexcavator", u"file", u"offset", u"0x1F40", u"data",  u"byte",
                                  u"UTF-8",      u"Edit", u"View",   u"Search", u"Qt",    u"Linux",
                                  u"Windows",    u"1.0",  u"buffer", u"Page",   u"cache", u"2048"};

template <size_t N>
const char16_t *Pick(const char16_t *const (&words)[N], std::mt19937 &rng)
{
    return words[rng() % N];
}

// The line's weight: a Japanese character 2, an ASCII one 1.
size_t Weight(const std::u16string &s)
{
    size_t w = 0;
    for (const char16_t c : s)
        w += c < 0x80 ? 1 : 2;
    return w;
}
} // namespace

std::vector<std::u16string> TBenchText::Lines(size_t count, uint32_t seed)
{
    std::mt19937 rng(seed);
    std::vector<std::u16string> lines;
    lines.reserve(count);
    while (lines.size() < count) {
        std::u16string line;
        while (Weight(line) < 56) {
            const unsigned r = rng() % 10;
            if (r < 3) {
                // ASCII words stand between spaces, as in Japanese prose.
                line += u' ';
                line += Pick(kAscii, rng);
                line += u' ';
            } else {
                line += Pick(kNouns, rng);
                line += r < 8 ? Pick(kParticles, rng) : Pick(kEndings, rng);
                if (r == 9)
                    line += u'、';
            }
        }
        line += u"。\n";
        lines.push_back(std::move(line));
    }
    return lines;
}
