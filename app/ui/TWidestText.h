#pragma once
// How wide a text can get in a font when its digits vary: the width a status panel must
// have for the largest numbers it shows, measured rather than assumed.
//
// A digit in a text stands for any digit there: a decimal digit is measured as the font's
// widest decimal digit, and a hexadecimal number after "0x" as made of the widest of 0-9 and
// A-F. So "選択 2,147,483,647 (0x7FFFFFFF) バイト" also covers "選択 2,111,692,253 (0x7DDDDDDD)
// バイト", which is wider in a proportional font. Japanese characters are measured in the
// face Qt falls back to for them, as the label will draw them.
//
// Who calls: the main window's status panels (TStatusPanel).

#include <QFontMetrics>
#include <QString>
#include <QStringList>

class TWidestText {
public:
    // Pixels the widest of `texts` takes, digits counted as above; 0 for none.
    static int Width(const QFontMetrics &fm, const QStringList &texts);
};
