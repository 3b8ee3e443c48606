#include "TSettingsFile.h"

#include "TAppDir.h"
#include "TIniFile.h"
#include "TStrToInt.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <cstdio>

namespace {
constexpr const char *kPlacement = "Placement";
constexpr const char *kSettings = "Settings";
constexpr const char *kFind = "Find";
constexpr const char *kPrint = "Print";
constexpr const char *kChecksum = "Checksum";
constexpr const char *kMRUList = "MRUList";

std::string ColorText(uint32_t c)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "$%06X", static_cast<unsigned>(c));
    return buf;
}

std::string Quoted(const std::string &s) { return "\"" + s + "\""; }

int32_t InRange(int32_t v, int32_t lo, int32_t hi, int32_t def) { return v < lo || v > hi ? def : v; }

// A colour that is no integer keeps its default and is reported; only the 24 colour bits
// of a wider value count.
void ReadColor(const TIniFile &ini, const char *section, const char *key, uint32_t &color, TSettings &s)
{
    if (!ini.ValueExists(section, key))
        return;
    int32_t v = 0;
    if (TStrToInt::TryParse(ini.ReadString(section, key, std::string()), v))
        color = static_cast<uint32_t>(v) & 0xFFFFFFu;
    else
        s.Ignored.push_back(std::string("[") + section + "] " + key);
}
} // namespace

TSettingsFile::TSettingsFile() : FFileName(TAppDir::SettingsFileName()) {}
TSettingsFile::TSettingsFile(std::string fileName) : FFileName(std::move(fileName)) {}

void TSettingsFile::LoadFont(const TIniFile &ini, const char *section, TFontSetting &font)
{
    const TFontSetting def;
    font.Name = ini.ReadString(section, "FontName", def.Name);
    if (font.Name.empty())
        font.Name = def.Name;
    font.Size = InRange(ini.ReadInteger(section, "FontSize", def.Size), 1, 1000, def.Size);
    font.Style = TSettings::StrToFontStyle(ini.ReadString(section, "FontStyle", std::string()));
    font.Charset = InRange(ini.ReadInteger(section, "FontCharset", def.Charset), 0, 255, def.Charset);
}

void TSettingsFile::SaveFont(TIniFile &ini, const char *section, const TFontSetting &font)
{
    ini.WriteString(section, "FontName", font.Name);
    ini.WriteInteger(section, "FontSize", font.Size);
    ini.WriteString(section, "FontStyle", TSettings::FontStyleToStr(font.Style));
    ini.WriteInteger(section, "FontCharset", font.Charset);
}

void TSettingsFile::LoadSettingsSection(const TIniFile &ini, TSettings &s)
{
    const TSettings def;
    s.KeepUndoOnSave = ini.ReadBool(kSettings, "FClearUndoWhenFileSave", def.KeepUndoOnSave);
    s.ReadOnlyWhenFileOpen = ini.ReadBool(kSettings, "ReadOnlyWhenFileOpen", def.ReadOnlyWhenFileOpen);
    s.ViewAddressHeader = ini.ReadBool(kSettings, "ViewAddressHeader", def.ViewAddressHeader);
    s.ViewByteView = ini.ReadBool(kSettings, "ViewByteView", def.ViewByteView);
    s.ViewToolBar = ini.ReadBool(kSettings, "ViewToolBar", def.ViewToolBar);
    s.ViewStatusBar = ini.ReadBool(kSettings, "ViewStatusBar", def.ViewStatusBar);
    LoadFont(ini, kSettings, s.Font);
    ReadColor(ini, kSettings, "FontColor", s.FontColor, s);
    ReadColor(ini, kSettings, "BGColor", s.BGColor, s);
    ReadColor(ini, kSettings, "SelectFontColor", s.SelectFontColor, s);
    ReadColor(ini, kSettings, "SelectBGColor", s.SelectBGColor, s);
    ReadColor(ini, kSettings, "CurrentLineFontColor", s.CurrentLineFontColor, s);
    ReadColor(ini, kSettings, "CurrentLineBGColor", s.CurrentLineBGColor, s);
    ReadColor(ini, kSettings, "AddressFontColor", s.AddressFontColor, s);
    ReadColor(ini, kSettings, "AddressBGColor", s.AddressBGColor, s);
    s.DoubleBuffered = ini.ReadBool(kSettings, "DoubleBuffered", def.DoubleBuffered);
    s.SaveBackup = ini.ReadBool(kSettings, "SaveBackup", def.SaveBackup);
    s.SaveBackupCount = std::clamp(ini.ReadInteger(kSettings, "SaveBackupCount", def.SaveBackupCount), 0, 999);
    s.ViewUnderLine = ini.ReadBool(kSettings, "ViewUnderLine", def.ViewUnderLine);
    ReadColor(ini, kSettings, "UnderLineColor", s.UnderLineColor, s);
    ReadColor(ini, kSettings, "ChangedFontColor", s.ChangedFontColor, s);
    ReadColor(ini, kSettings, "DiffBGColor", s.DiffBGColor, s);
    s.ColumnBytes = ini.ReadInteger(kSettings, "ColumnBytes", def.ColumnBytes);
    s.CharCode = ini.ReadInteger(kSettings, "CharCode", def.CharCode);
    s.JumpAddress = ini.ReadString(kSettings, "JumpAddres", def.JumpAddress);
    s.CharCodeName = ini.ReadString(kSettings, "CharCodeName", def.CharCodeName);
    s.CharTable = ini.ReadString(kSettings, "CharTable", def.CharTable);
    s.AutoDetectCharCode = ini.ReadBool(kSettings, "AutoDetectCharCode", def.AutoDetectCharCode);
    s.ViewByteValues = ini.ReadBool(kSettings, "ViewByteValues", def.ViewByteValues);
    s.ByteValuesPanelArea = ini.ReadString(kSettings, "ByteValuesPanelArea", def.ByteValuesPanelArea);
    s.ByteValuesPanelFloating = ini.ReadBool(kSettings, "ByteValuesPanelFloating", def.ByteValuesPanelFloating);
    if (ini.ValueExists(kSettings, "ByteValuesPanelPosition")) {
        bool bad = false;
        s.ByteValuesPanelPosition = TSettings::ParsePosition(ini.ReadString(kSettings, "ByteValuesPanelPosition", ""), bad);
        if (bad)
            s.Ignored.push_back(std::string("[") + kSettings + "] ByteValuesPanelPosition");
    }
    s.ByteValuesPanelSize = std::clamp(ini.ReadInteger(kSettings, "ByteValuesPanelSize", def.ByteValuesPanelSize), 0, 10000);
}

TSettings TSettingsFile::Load() const
{
    const TIniFile ini(FFileName);
    TSettings s;
    if (ini.ValueExists(kPlacement, "Position")) {
        bool bad = false;
        s.Position = TSettings::ParsePosition(ini.ReadString(kPlacement, "Position", std::string()), bad);
        s.MalformedPosition = !s.Position && !bad;
        if (bad)
            s.Ignored.push_back(std::string("[") + kPlacement + "] Position");
    }
    s.ShowCmd = ini.ReadInteger(kPlacement, "ShowCmd", s.ShowCmd);
    LoadSettingsSection(ini, s);
    s.SearchText = ini.ReadString(kFind, "Current", std::string());
    s.SearchIgnoreCase = ini.ReadBool(kFind, "IgnoreCase", false);
    s.SearchHex = ini.ReadBool(kFind, "Hex", false);
    s.FindFromTop = ini.ReadBool(kFind, "FromTop", false);
    s.ChecksumAlgorithms = ini.ReadString(kChecksum, "Algorithms", s.ChecksumAlgorithms);

    TPrintSettings &p = s.Print;
    p.TopMargin = std::clamp(ini.ReadInteger(kPrint, "TopMargin", p.TopMargin), 0, 999);
    p.BottomMargin = std::clamp(ini.ReadInteger(kPrint, "BottomMargin", p.BottomMargin), 0, 999);
    p.LeftMargin = std::clamp(ini.ReadInteger(kPrint, "LeftMargin", p.LeftMargin), 0, 999);
    LoadFont(ini, kPrint, p.Font);
    p.PrintFileName = ini.ReadBool(kPrint, "PrintFileName", p.PrintFileName);
    p.PrintPageNo = ini.ReadBool(kPrint, "PrintPageNo", p.PrintPageNo);
    return s;
}

void TSettingsFile::Save(const TSettings &s) const
{
    TIniFile ini(FFileName);
    if (s.Position)
        ini.WriteString(kPlacement, "Position", TSettings::FormatPosition(*s.Position));
    ini.WriteInteger(kPlacement, "ShowCmd", s.ShowCmd);

    ini.WriteBool(kSettings, "FClearUndoWhenFileSave", s.KeepUndoOnSave);
    ini.WriteBool(kSettings, "ReadOnlyWhenFileOpen", s.ReadOnlyWhenFileOpen);
    ini.WriteBool(kSettings, "ViewAddressHeader", s.ViewAddressHeader);
    ini.WriteBool(kSettings, "ViewByteView", s.ViewByteView);
    ini.WriteBool(kSettings, "ViewToolBar", s.ViewToolBar);
    ini.WriteBool(kSettings, "ViewStatusBar", s.ViewStatusBar);
    SaveFont(ini, kSettings, s.Font);
    ini.WriteString(kSettings, "FontColor", ColorText(s.FontColor));
    ini.WriteString(kSettings, "BGColor", ColorText(s.BGColor));
    ini.WriteString(kSettings, "SelectFontColor", ColorText(s.SelectFontColor));
    ini.WriteString(kSettings, "SelectBGColor", ColorText(s.SelectBGColor));
    ini.WriteString(kSettings, "CurrentLineFontColor", ColorText(s.CurrentLineFontColor));
    ini.WriteString(kSettings, "CurrentLineBGColor", ColorText(s.CurrentLineBGColor));
    ini.WriteString(kSettings, "AddressFontColor", ColorText(s.AddressFontColor));
    ini.WriteString(kSettings, "AddressBGColor", ColorText(s.AddressBGColor));
    ini.WriteBool(kSettings, "DoubleBuffered", s.DoubleBuffered);
    ini.WriteBool(kSettings, "SaveBackup", s.SaveBackup);
    ini.WriteInteger(kSettings, "SaveBackupCount", s.SaveBackupCount);
    ini.WriteBool(kSettings, "ViewUnderLine", s.ViewUnderLine);
    ini.WriteString(kSettings, "UnderLineColor", ColorText(s.UnderLineColor));
    ini.WriteString(kSettings, "ChangedFontColor", ColorText(s.ChangedFontColor));
    ini.WriteString(kSettings, "DiffBGColor", ColorText(s.DiffBGColor));
    ini.WriteInteger(kSettings, "ColumnBytes", s.ColumnBytes);
    ini.WriteInteger(kSettings, "CharCode", s.CharCode);
    ini.WriteString(kSettings, "JumpAddres", s.JumpAddress);
    ini.WriteString(kSettings, "CharCodeName", s.CharCodeName);
    ini.WriteString(kSettings, "CharTable", s.CharTable);
    ini.WriteBool(kSettings, "AutoDetectCharCode", s.AutoDetectCharCode);
    ini.WriteBool(kSettings, "ViewByteValues", s.ViewByteValues);
    ini.WriteString(kSettings, "ByteValuesPanelArea", s.ByteValuesPanelArea);
    ini.WriteBool(kSettings, "ByteValuesPanelFloating", s.ByteValuesPanelFloating);
    if (s.ByteValuesPanelPosition)
        ini.WriteString(kSettings, "ByteValuesPanelPosition", TSettings::FormatPosition(*s.ByteValuesPanelPosition));
    ini.WriteInteger(kSettings, "ByteValuesPanelSize", s.ByteValuesPanelSize);

    ini.WriteString(kFind, "Current", Quoted(s.SearchText));
    ini.WriteBool(kFind, "IgnoreCase", s.SearchIgnoreCase);
    ini.WriteBool(kFind, "Hex", s.SearchHex);

    const TPrintSettings &p = s.Print;
    ini.WriteInteger(kPrint, "TopMargin", p.TopMargin);
    ini.WriteInteger(kPrint, "BottomMargin", p.BottomMargin);
    ini.WriteInteger(kPrint, "LeftMargin", p.LeftMargin);
    SaveFont(ini, kPrint, p.Font);
    ini.WriteBool(kPrint, "PrintFileName", p.PrintFileName);
    ini.WriteBool(kPrint, "PrintPageNo", p.PrintPageNo);
    ini.WriteString(kChecksum, "Algorithms", s.ChecksumAlgorithms);
    ini.UpdateFile();
}

TVxHistoryList TSettingsFile::LoadHistory(THistory which) const
{
    const TIniFile ini(FFileName);
    TVxHistoryList h;
    h.Load(ini, which == THistory::Find ? TVxHistoryList::kFindSection : TVxHistoryList::kReplaceSection);
    return h;
}

void TSettingsFile::SaveHistory(THistory which, const TVxHistoryList &history) const
{
    TIniFile ini(FFileName);
    history.Save(ini, which == THistory::Find ? TVxHistoryList::kFindSection : TVxHistoryList::kReplaceSection);
    ini.UpdateFile();
}

bool TSettingsFile::LoadFindFromTop() const { return TIniFile(FFileName).ReadBool(kFind, "FromTop", false); }

void TSettingsFile::SaveFindFromTop(bool fromTop) const
{
    TIniFile ini(FFileName);
    ini.WriteBool(kFind, "FromTop", fromTop);
    ini.UpdateFile();
}

std::vector<std::string> TSettingsFile::LoadRecentFiles() const
{
    return RecentFilesOf(TIniFile(FFileName).ReadSectionValues(kMRUList));
}

std::vector<std::string> TSettingsFile::RecentFilesOf(const std::vector<std::pair<std::string, std::string>> &lines)
{
    // Keys compare without case and the first of a name wins, as for any key of the file;
    // one pass, so that a hand-made section of any length loads in linear time.
    std::map<std::string, std::string> byKey;
    for (const auto &[key, value] : lines) {
        std::string k = key;
        std::transform(k.begin(), k.end(), k.begin(), [](unsigned char c) { return char(std::toupper(c)); });
        byKey.emplace(std::move(k), value);
    }
    std::vector<std::string> files;
    const size_t n = std::min(lines.size(), kMaxRecentEntriesRead);
    files.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        auto it = byKey.find(TVxHistoryList::KeyOf(i));
        files.push_back(it == byKey.end() ? std::string() : it->second);
    }
    return files;
}

std::vector<std::string> TSettingsFile::AddRecentFile(const std::string &file, size_t maxEntries) const
{
    TIniFile ini(FFileName);
    std::vector<std::string> files;
    ini.EditSection(kMRUList, [&](const TIniFile::TValues &current) {
        files = RecentFilesOf(current);
        files.erase(std::remove(files.begin(), files.end(), file), files.end());
        files.insert(files.begin(), file);
        if (files.size() > maxEntries)
            files.resize(maxEntries);
        TIniFile::TValues writes;
        for (size_t i = 0; i < files.size(); ++i)
            writes.emplace_back(TVxHistoryList::KeyOf(i), Quoted(files[i]));
        return writes;
    });
    ini.UpdateFile();
    return files;
}
