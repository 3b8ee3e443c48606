#include "TVxHexText.h"

#include "TStrToInt.h"

namespace {
bool Blank(char c) { return c == ' ' || c == '\t'; }
} // namespace

std::optional<std::string> TVxHexText::Parse(std::string_view typed)
{
    std::string bytes;
    bytes.reserve(typed.size() / 2);
    size_t i = 0;
    while (i < typed.size()) {
        if (Blank(typed[i])) {
            ++i;
            continue;
        }
        if (i + 1 >= typed.size())
            return std::nullopt;
        const int hi = TStrToInt::HexDigit(typed[i]), lo = TStrToInt::HexDigit(typed[i + 1]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        bytes.push_back(static_cast<char>(hi * 16 + lo));
        i += 2;
    }
    return bytes;
}
