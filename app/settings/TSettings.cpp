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
    // A comma text: items separated by a comma or by blanks (blanks around a comma belong
    // to it), an item in double quotes may hold either ("" is a quote), and a comma at the
    // very end still opens an empty last item.
    std::vector<std::string> items;
    const size_t n = text.size();
    auto blank = [&](size_t i) { return static_cast<unsigned char>(text[i]) <= ' '; };
    size_t p = 0;
    while (p < n && blank(p))
        ++p;
    while (p < n) {
        std::string item;
        if (text[p] == '"') {
            for (++p; p < n; ++p) {
                if (text[p] == '"') {
                    if (p + 1 < n && text[p + 1] == '"') {
                        item += '"';
                        ++p;
                        continue;
                    }
                    ++p;
                    break;
                }
                item += text[p];
            }
        } else {
            while (p < n && !blank(p) && text[p] != ',')
                item += text[p++];
        }
        items.push_back(item);
        while (p < n && blank(p))
            ++p;
        if (p < n && text[p] == ',') {
            if (p + 1 == n)
                items.emplace_back();
            for (++p; p < n && blank(p); ++p) {
            }
        }
    }
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
