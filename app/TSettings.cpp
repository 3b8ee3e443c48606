#include "TSettings.h"

#include "TStrToInt.h"

#include <cctype>

std::string TSettings::FontStyleToStr(const TFontStyle &style)
{
    std::string s;
    if (style.Bold)
        s += 'B';
    if (style.Italic)
        s += 'I';
    if (style.Underline)
        s += 'U';
    if (style.StrikeOut)
        s += 'S';
    return s;
}

TFontStyle TSettings::StrToFontStyle(const std::string &text)
{
    TFontStyle style;
    for (char c : text) {
        switch (std::toupper(static_cast<unsigned char>(c))) {
        case 'B': style.Bold = true; break;
        case 'I': style.Italic = true; break;
        case 'U': style.Underline = true; break;
        case 'S': style.StrikeOut = true; break;
        default: break;
        }
    }
    return style;
}

std::optional<std::array<int32_t, 4>> TSettings::ParsePosition(const std::string &text, bool &bad)
{
    // Items are separated by commas or blanks; a double-quoted item may hold either.
    std::vector<std::string> items;
    std::string cur;
    bool inQuotes = false, any = false;
    for (char c : text) {
        if (c == '"') {
            inQuotes = !inQuotes;
            any = true;
        } else if (!inQuotes && (c == ',' || c == ' ')) {
            if (any || c == ',')
                items.push_back(cur);
            cur.clear();
            any = false;
        } else {
            cur += c;
            any = true;
        }
    }
    if (any || (!items.empty() && text.back() == ','))
        items.push_back(cur);
    bad = false;
    if (items.size() != 4)
        return std::nullopt;
    std::array<int32_t, 4> r{};
    for (size_t i = 0; i < 4; ++i) {
        if (!TStrToInt::TryParse(items[i], r[i])) {
            bad = true;
            return std::nullopt;
        }
    }
    return r;
}

std::string TSettings::FormatPosition(const std::array<int32_t, 4> &rect)
{
    return std::to_string(rect[0]) + "," + std::to_string(rect[1]) + "," + std::to_string(rect[2]) + "," +
           std::to_string(rect[3]);
}
