#pragma once
// Makes the program's two font names, "FixedSys" for the editor and "ＭＳ Ｐゴシック" for the
// dialogs, find a face on systems that lack them: the system's stand-ins (TFontNames), then
// every installed fixed-pitch face with Japanese glyphs. Where the system names no stand-ins
// (Linux, whose font matching already does this), nothing changes.
//
// Who calls: THexApplication, once, before the first window exists. Cost: one pass over the
// installed Japanese families.

#include <QString>
#include <QStringList>

class TFontFallbacks {
public:
    static void Install();
    // The substitutes Install gives `family`; empty where the system needs none.
    static QStringList For(const QString &family);
};
