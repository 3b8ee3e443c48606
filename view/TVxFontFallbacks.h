#pragma once
// Makes the program's two font names, "FixedSys" for the editor and "ＭＳ Ｐゴシック" for the
// dialogs, find a face on systems that lack them: the system's stand-ins (TFontNames), then
// every installed fixed-pitch face with Japanese glyphs. Where the system names no stand-ins
// (Linux, whose font matching already does this), nothing changes.
//
// Who calls: the editor control, whose default face is "FixedSys", when the first one is
// made, and THexApplication before the first window. Only the first call does anything.
// Cost: one pass over the installed Japanese families.

#include <QString>
#include <QStringList>

class TVxFontFallbacks {
public:
    static void Install();
    // The substitutes Install gives `family`; empty where the system needs none.
    static QStringList For(const QString &family);
};
