#pragma once
// The settings of the main window and its editor: LoadSettings reads the settings file and
// applies it, SaveSettings collects everything and writes it (TSettingsFile does the file).
//
// Apply order, which callers may rely on: placement (only for the sole running instance), the
// two file-command flags, the checked states of the four view commands, the editor's font,
// colours, double-buffer flag and backup policy, HideOffsetHeader / HideByteView from the
// view commands, the underline, column groups and character code through their commands, the
// jump address, then the tool bar and status bar, the byte values panel; the search text (sole instance only, not
// shared with others); the print settings; the recent files.
//
// A value the file held that could not be read is named to the user once, after the window
// has come up, and loading goes on without it.
//
// Who calls: TfrmMain at creation (LoadSettings), at destruction when no other instance runs,
// and after OK in the options dialog (SaveSettings).

#include "TSettings.h"

class QAction;
class QColor;
class QFont;
class TfrmMain;
struct TMainActions;

class TMainSettings {
public:
    explicit TMainSettings(TfrmMain &main) : FMain(main) {}

    void LoadSettings();
    void SaveSettings();

    void Apply(const TSettings &s, bool soleInstance, const std::string &fileName);
    TSettings Collect() const;

    static QColor ToQColor(uint32_t windowsColor);
    static uint32_t FromQColor(const QColor &color);
    static QFont ToQFont(const TFontSetting &font);
    static TFontSetting FromQFont(const QFont &font);
    // The character code command the settings choose: CharCode 1 is Shift-JIS as ever; else
    // CharCodeName names one of the other offered codes; anything else is ASCII.
    static QAction *CharCodeCommand(const TMainActions &actions, const TSettings &s);

private:
    TfrmMain &FMain;
};
