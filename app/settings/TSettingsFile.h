#pragma once
// The settings file "Hexcavat.ini": the one place that knows its sections, keys, encodings
// and defaults. Every reader and writer of the file goes through here.
//
//  - Load / Save: the whole TSettings. Save writes "Placement", "Settings", "Find" (the
//    current search text and flag) and "Print" in the file's key order; booleans "1"/"0",
//    colours "$" and at least six upper-case hexadecimal digits, the font style as letters
//    ("BIUS"), the position as "left,top,right,bottom", the search text in double quotes so
//    that leading and trailing blanks survive. Written at exit by the last instance and after
//    OK in the options dialog.
//  - The find and replace histories and "FromTop": written after every search or replacement
//    from their dialogs.
//  - "MRUList", the recent files: written after every open; never by Save.
//
// Reading never fails: a missing file, section or key gives the default; a number out of
// its range is brought into it; a colour or position that is no integer gives the default
// and is listed in TSettings::Ignored so the user hears of it once.
//
// Each call opens the file, and a write reaches the disk before the call returns.
//
// Who calls: the settings model (the whole file), the recent files and the find dialogs
// (their own keys, read-modify-write).

#include "TSettings.h"
#include "TVxHistoryList.h"

#include <string>
#include <vector>

class TIniFile;

class TSettingsFile {
public:
    enum class THistory { Find, Replace };

    // The program's settings file (TAppDir::SettingsFileName) unless told otherwise.
    TSettingsFile();
    explicit TSettingsFile(std::string fileName);
    const std::string &FileName() const { return FFileName; }

    TSettings Load() const;
    void Save(const TSettings &settings) const;

    TVxHistoryList LoadHistory(THistory which) const;
    void SaveHistory(THistory which, const TVxHistoryList &history) const;
    bool LoadFindFromTop() const;
    void SaveFindFromTop(bool fromTop) const;

    // The entries of "MRUList" by their keys 0, 1, ... (as many as the section has lines,
    // but no more than kMaxRecentEntriesRead, so that a runaway file cannot flood the
    // menu; a missing key gives an empty entry).
    static constexpr size_t kMaxRecentEntriesRead = 256;
    std::vector<std::string> LoadRecentFiles() const;
    // `file` on top of the list as the file holds it at this moment (any copy of it further
    // down removed, at most `maxEntries` written, each under its key; keys beyond stay as they are), in one step under the file's lock, so
    // instances that open files at the same moment all find theirs in the list. Returns
    // the list written.
    std::vector<std::string> AddRecentFile(const std::string &file, size_t maxEntries) const;

private:
    static std::vector<std::string> RecentFilesOf(const std::vector<std::pair<std::string, std::string>> &lines);
    static void LoadSettingsSection(const TIniFile &ini, TSettings &s);
    static void LoadFont(const TIniFile &ini, const char *section, TFontSetting &font);
    static void SaveFont(TIniFile &ini, const char *section, const TFontSetting &font);

    std::string FFileName;
};
