// The settings file as the program reads it (TSettingsFile over TIniFile): any file gives
// values within their ranges, and the values written back read back the same.
#include "FuzzCheck.h"
#include "TSettingsFile.h"

#include <cctype>
#include <string>

namespace {
// A value that a write keeps as it is: no blanks around it, not enclosed in double quotes
// (reading strips one pair) and one line.
bool Plain(const std::string &s)
{
    if (s.empty())
        return true;
    if (std::isspace(static_cast<unsigned char>(s.front())) || std::isspace(static_cast<unsigned char>(s.back())))
        return false;
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"')
        return false;
    return s.find_first_of("\r\n") == std::string::npos;
}

void CheckFont(const TFontSetting &f)
{
    FUZZ_CHECK(!f.Name.empty());
    FUZZ_CHECK(f.Size >= 1 && f.Size <= 1000);
    FUZZ_CHECK(f.Charset >= 0 && f.Charset <= 255);
}

void CheckRanges(const TSettings &s)
{
    CheckFont(s.Font);
    CheckFont(s.Print.Font);
    for (uint32_t c : {s.FontColor, s.BGColor, s.SelectFontColor, s.SelectBGColor, s.CurrentLineFontColor,
                       s.CurrentLineBGColor, s.AddressFontColor, s.AddressBGColor, s.UnderLineColor,
                       s.ChangedFontColor, s.DiffBGColor})
        FUZZ_CHECK(c <= 0xFFFFFF);
    FUZZ_CHECK(s.SaveBackupCount >= 0 && s.SaveBackupCount <= 999);
    FUZZ_CHECK(s.ByteValuesPanelSize >= 0 && s.ByteValuesPanelSize <= 10000);
    for (int32_t m : {s.Print.TopMargin, s.Print.BottomMargin, s.Print.LeftMargin})
        FUZZ_CHECK(m >= 0 && m <= 999);
    FUZZ_CHECK(!(s.Position && s.MalformedPosition));
}

void SameString(const std::string &read, const std::string &again)
{
    if (Plain(read))
        FUZZ_CHECK(read == again);
}

void SameFont(const TFontSetting &a, const TFontSetting &b)
{
    SameString(a.Name, b.Name);
    FUZZ_CHECK(a.Size == b.Size && a.Style == b.Style && a.Charset == b.Charset);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string path = FuzzScratch() + "/Hexcavat.ini", copy = FuzzScratch() + "/copy.ini";
    FuzzWriteFile(path, std::string(reinterpret_cast<const char *>(data), size));
    const TSettingsFile file(path);
    const TSettings s = file.Load();
    CheckRanges(s);
    FUZZ_CHECK(file.LoadRecentFiles().size() <= TSettingsFile::kMaxRecentEntriesRead);
    file.LoadHistory(TSettingsFile::THistory::Find);
    file.LoadHistory(TSettingsFile::THistory::Replace);

    std::remove(copy.c_str());
    const TSettingsFile other(copy);
    other.Save(s);
    const TSettings t = other.Load();
    CheckRanges(t);
    FUZZ_CHECK(t.Ignored.empty());
    FUZZ_CHECK(t.Position == s.Position && t.ShowCmd == s.ShowCmd);
    FUZZ_CHECK(t.KeepUndoOnSave == s.KeepUndoOnSave && t.ReadOnlyWhenFileOpen == s.ReadOnlyWhenFileOpen &&
               t.ViewAddressHeader == s.ViewAddressHeader && t.ViewByteView == s.ViewByteView &&
               t.ViewToolBar == s.ViewToolBar && t.ViewStatusBar == s.ViewStatusBar);
    SameFont(s.Font, t.Font);
    FUZZ_CHECK(t.FontColor == s.FontColor && t.BGColor == s.BGColor && t.SelectFontColor == s.SelectFontColor &&
               t.SelectBGColor == s.SelectBGColor && t.CurrentLineFontColor == s.CurrentLineFontColor &&
               t.CurrentLineBGColor == s.CurrentLineBGColor && t.AddressFontColor == s.AddressFontColor &&
               t.AddressBGColor == s.AddressBGColor && t.UnderLineColor == s.UnderLineColor &&
               t.ChangedFontColor == s.ChangedFontColor && t.DiffBGColor == s.DiffBGColor);
    FUZZ_CHECK(t.DoubleBuffered == s.DoubleBuffered && t.SaveBackup == s.SaveBackup &&
               t.SaveBackupCount == s.SaveBackupCount && t.ViewUnderLine == s.ViewUnderLine);
    FUZZ_CHECK(t.ColumnBytes == s.ColumnBytes && t.CharCode == s.CharCode);
    SameString(s.JumpAddress, t.JumpAddress);
    SameString(s.CharCodeName, t.CharCodeName);
    SameString(s.CharTable, t.CharTable);
    SameString(s.ByteValuesPanelArea, t.ByteValuesPanelArea);
    FUZZ_CHECK(t.AutoDetectCharCode == s.AutoDetectCharCode && t.ViewByteValues == s.ViewByteValues &&
               t.ByteValuesPanelFloating == s.ByteValuesPanelFloating &&
               t.ByteValuesPanelPosition == s.ByteValuesPanelPosition &&
               t.ByteValuesPanelSize == s.ByteValuesPanelSize);
    // The search text is written quoted, so even blanks around it come back.
    if (s.SearchText.find_first_of("\r\n") == std::string::npos)
        FUZZ_CHECK(t.SearchText == s.SearchText);
    FUZZ_CHECK(t.SearchIgnoreCase == s.SearchIgnoreCase && t.SearchHex == s.SearchHex);
    SameString(s.ChecksumAlgorithms, t.ChecksumAlgorithms);
    FUZZ_CHECK(t.Print.TopMargin == s.Print.TopMargin && t.Print.BottomMargin == s.Print.BottomMargin &&
               t.Print.LeftMargin == s.Print.LeftMargin && t.Print.PrintFileName == s.Print.PrintFileName &&
               t.Print.PrintPageNo == s.Print.PrintPageNo);
    SameFont(s.Print.Font, t.Print.Font);
    return 0;
}
