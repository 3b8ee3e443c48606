#pragma once
// The settings file's colours, fonts and view style as Qt's and the control's, and back.
// Colours are Windows colour values (low byte red, then green, then blue); a font is name,
// size in points, style and character set (which Qt fonts do not have: the caller keeps it
// beside the QFont).
//
// Who calls: the view commands' settings section, the options command, the print command.

#include "TSettings.h"
#include "TVxViewStyle.h"

#include <QColor>
#include <QFont>

class TSettingsQt {
public:
    static QColor ToQColor(uint32_t windowsColor);
    static uint32_t FromQColor(const QColor &color);
    static QFont ToQFont(const TFontSetting &font);
    static TFontSetting FromQFont(const QFont &font);
    // The settings' colours and view flags over `base`, which keeps what the file has no key
    // for (the caret's colour).
    static TVxViewStyle ToViewStyle(const TSettings &s, TVxViewStyle base);
    static void FromViewStyle(const TVxViewStyle &style, TSettings &s);
};
