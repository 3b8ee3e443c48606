#pragma once
// The faces that stand in for the program's two font names where the system lacks them:
// "FixedSys" (the editor's default) and "ＭＳ Ｐゴシック" (the dialogs'), in the order they
// are tried. On Windows the faces of those names come first, then MS Gothic; on Linux the
// IPA faces (IPAGothic for the editor, IPAPGothic for the dialogs), which the package
// depends on.
//
// Who calls: TVxFontFallbacks at start-up, which also adds any installed fixed-pitch face with
// Japanese glyphs after these.

#include <string>
#include <vector>

class TFontNames {
public:
    static std::vector<std::string> Substitutes(const std::string &family);
};
