#pragma once
// Everything the settings file holds, as plain values: what the main window, the editor, the
// search, printing and the recent-files list read at start and give back when the file is
// written. No Qt, no file: TSettingsFile reads and writes it; TMainSettings applies it to
// the window and collects it again.
//
// Defaults are those of a missing file. Colours are Windows colour values (low byte red,
// then green, then blue), as the file writes them.
//
// Who calls: TSettingsFile reads and writes it; the settings model and its sections use it.


#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct TFontStyle {
    bool Bold = false, Italic = false, Underline = false, StrikeOut = false;
    bool operator==(const TFontStyle &o) const
    {
        return Bold == o.Bold && Italic == o.Italic && Underline == o.Underline && StrikeOut == o.StrikeOut;
    }
};

struct TFontSetting {
    std::string Name = "FixedSys";
    int32_t Size = 14; // points
    TFontStyle Style;
    int32_t Charset = 128; // 128: Shift-JIS
    bool operator==(const TFontSetting &o) const
    {
        return Name == o.Name && Size == o.Size && Style == o.Style && Charset == o.Charset;
    }
};

struct TPrintSettings {
    int32_t TopMargin = 10, BottomMargin = 10, LeftMargin = 10; // millimetres
    TFontSetting Font;
    bool PrintFileName = true;
    bool PrintPageNo = true;
};

struct TSettings {
    // Placement. Position: left, top, right, bottom; none when the file has no such key
    // (the window keeps its own bounds). MalformedPosition: the key is there but does not
    // hold exactly four items (the window is centred at 600 x 430).
    std::optional<std::array<int32_t, 4>> Position;
    bool MalformedPosition = false;
    int32_t ShowCmd = 5;

    // Settings, in the file's order.
    bool KeepUndoOnSave = false; // "FClearUndoWhenFileSave": true keeps the history
    bool ReadOnlyWhenFileOpen = true;
    bool ViewAddressHeader = true;
    bool ViewByteView = true;
    bool ViewToolBar = true;
    bool ViewStatusBar = true;
    TFontSetting Font;
    uint32_t FontColor = 0x000000;
    uint32_t BGColor = 0xFFFFFF;
    uint32_t SelectFontColor = 0x000000;
    uint32_t SelectBGColor = 0xFFEECC;
    uint32_t CurrentLineFontColor = 0x000080;
    uint32_t CurrentLineBGColor = 0xFFFFFF;
    uint32_t AddressFontColor = 0x984E00;
    uint32_t AddressBGColor = 0xFFFFFF;
    bool DoubleBuffered = false;
    bool SaveBackup = false;
    int32_t SaveBackupCount = 10;
    bool ViewUnderLine = false;
    uint32_t UnderLineColor = 0xFF0000;
    // Text of the bytes changed since the last load or save: purple, apart from the current
    // line's dark red and the selection's colours.
    uint32_t ChangedFontColor = 0xC000C0;
    // Background of the differences of a compare: light orange.
    uint32_t DiffBGColor = 0x90D8FF;
    int32_t ColumnBytes = 1; // 1, 2, 4, 8 or 16; anything else reads as 1
    int32_t CharCode = 0;    // 1: Shift-JIS; anything else ASCII
    std::string JumpAddress = "$00000";
    // Written after the keys above. The character code by the name its command shows
    // ("ASCII", "SJIS", "UNICODE", "JIS", "EUC", "UTF-8", "TABLE"); it names the codes that
    // CharCode, which stays 1 or 0, has no value for, and counts only while CharCode is not 1.
    std::string CharCodeName = "ASCII";
    // The character table the column shows with "TABLE" (its path, UTF-8), and whether a
    // document's code is guessed when it opens.
    std::string CharTable;
    bool AutoDetectCharCode = false;
    // The byte values panel: shown, docked at which side ("Left", "Right", "Top",
    // "Bottom") or floating at a window position, and its docked width (left, right) or
    // height (top, bottom) in pixels, 0 for the panel's own.
    bool ViewByteValues = false;
    std::string ByteValuesPanelArea = "Right";
    bool ByteValuesPanelFloating = false;
    std::optional<std::array<int32_t, 4>> ByteValuesPanelPosition;
    int32_t ByteValuesPanelSize = 0;

    // Find. The search text as the user typed it (UTF-8).
    std::string SearchText;
    bool SearchIgnoreCase = false;
    // The current search was typed as hexadecimal bytes (and so the find dialogs' box).
    bool SearchHex = false;
    bool FindFromTop = false;

    // The checksums checked in the checksum dialog, as keys of TVxChecksumKinds separated by
    // commas; kept as text so the settings need not know the algorithms.
    std::string ChecksumAlgorithms = "crc32,md5,sha1,sha256";

    TPrintSettings Print;

    // What the file held that could not be read and fell back to its default, one line per
    // key ("[Section] Key"); the window tells the user once.
    std::vector<std::string> Ignored;

    static std::string FontStyleToStr(const TFontStyle &style);
    static TFontStyle StrToFontStyle(const std::string &text);
    // Four items (separated by commas or blanks, double-quoted items allowed) that are all
    // integers; nullopt when there are not exactly four. `bad` is set when there are four
    // but one is no integer.
    static std::optional<std::array<int32_t, 4>> ParsePosition(const std::string &text, bool &bad);
    static std::string FormatPosition(const std::array<int32_t, 4> &rect);
};
