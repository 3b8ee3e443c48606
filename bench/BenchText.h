#pragma once
// Japanese-ish text for the rows that need a document of text rather than random bytes:
// lines of Japanese words (kanji, hiragana, katakana) mixed with ASCII words and numbers,
// with the punctuation of Japanese prose, each ending in "\n". The rows encode the lines
// in the code they measure, so that the bytes have that code's real mix of single-byte and
// multi-byte characters (and, in ISO-2022-JP, an escape sequence at every change).
//
// None of the words begins with 索 or 語 and none ends with 検, so the text never holds
// "検索語" (kNeedle), which the search rows look for in vain, although "検索" and words
// with 語 inside are frequent: the scan meets many near misses.
//
// Who calls: PaintRows (ISO-2022-JP pages) and SearchRows (the UTF-8 document).

#include <cstdint>
#include <string>
#include <vector>

class TBenchText {
public:
    static constexpr char16_t kNeedle[] = u"検索語";

    // `count` lines from a generator seeded with `seed`; each holds words of about 60
    // units (a Japanese character 2, an ASCII one 1): some 70 bytes in ISO-2022-JP, 90 in
    // UTF-8. Cost: about a microsecond a line.
    static std::vector<std::u16string> Lines(size_t count, uint32_t seed);
};
