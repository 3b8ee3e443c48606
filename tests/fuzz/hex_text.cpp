// The hexadecimal text of the find and replace dialogs (TVxHexText).
#include "FuzzCheck.h"
#include "TVxHexText.h"

#include <string>

namespace {
int Digit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string typed(reinterpret_cast<const char *>(data), size);
    const auto bytes = TVxHexText::Parse(typed);
    // The digits of the text, in order, with the blanks between them.
    std::string digits;
    bool onlyAllowed = true;
    for (char c : typed) {
        if (Digit(c) >= 0)
            digits += c;
        else if (c != ' ' && c != '\t')
            onlyAllowed = false;
    }
    if (!onlyAllowed || digits.size() % 2 != 0) {
        FUZZ_CHECK(!bytes);
        return 0;
    }
    // A pair split by a blank: some run of digits between blanks is odd.
    bool pairsWhole = true;
    size_t run = 0;
    for (char c : typed + ' ') {
        if (c == ' ' || c == '\t') {
            pairsWhole = pairsWhole && run % 2 == 0;
            run = 0;
        } else {
            ++run;
        }
    }
    FUZZ_CHECK(bytes.has_value() == pairsWhole);
    if (!bytes)
        return 0;
    FUZZ_CHECK(bytes->size() * 2 == digits.size());
    for (size_t i = 0; i < bytes->size(); ++i)
        FUZZ_CHECK(static_cast<uint8_t>((*bytes)[i]) == Digit(digits[2 * i]) * 16 + Digit(digits[2 * i + 1]));
    // The digits alone, and pairs apart, read back as the same bytes.
    FUZZ_CHECK(TVxHexText::Parse(digits) == bytes);
    std::string spaced;
    for (size_t i = 0; i < digits.size(); i += 2)
        spaced += digits.substr(i, 2) + (i % 4 ? "\t" : " ");
    FUZZ_CHECK(TVxHexText::Parse(spaced) == bytes);
    return 0;
}
