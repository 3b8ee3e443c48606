#include "TFontNames.h"

// IPA Gothic is the Japanese face the program depends on: a fixed-pitch face with Latin
// letters and kanji of one design. Fontconfig alone would answer "FixedSys" with a Latin
// monospace face and borrow the kanji from a face of another design.
std::vector<std::string> TFontNames::Substitutes(const std::string &family)
{
    if (family == "FixedSys")
        return {"IPAGothic", "IPAゴシック"};
    if (family == "ＭＳ Ｐゴシック")
        return {"IPAPGothic", "IPA Pゴシック"};
    return {};
}
