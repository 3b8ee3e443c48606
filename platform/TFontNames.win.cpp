#include "TFontNames.h"

std::vector<std::string> TFontNames::Substitutes(const std::string &family)
{
    // Qt 6 draws no raster fonts, and FixedSys is one: its TrueType namesakes first, then the
    // Japanese monospace face that every Japanese Windows has.
    if (family == "FixedSys")
        return {"Fixedsys Excelsior 3.01", "ＭＳ ゴシック", "MS Gothic", "IPAGothic", "Noto Sans Mono CJK JP"};
    if (family == "ＭＳ Ｐゴシック")
        return {"MS PGothic", "ＭＳ ゴシック", "MS Gothic", "Yu Gothic UI", "Meiryo UI", "IPAPGothic", "IPAGothic"};
    return {};
}
