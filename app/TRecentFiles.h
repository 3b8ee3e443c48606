#pragma once
// The recent-files list of the File menu: the files last opened by any running instance,
// newest first, between the separators "mnuMRUStart" and "mnuMRUEnd".
//
// An open here puts the file on top (at most ten entries after an open; exact comparison,
// letter case counts) and writes the list; every instance, this one included, re-reads the
// list when the notice of an open arrives and rebuilds its menu then. Items read
// "&1. path" ... "&A. path" (the number in upper-case hexadecimal is the accelerator); a
// click opens the entry through the open rule, and an entry whose file is gone stays.
// Saving under a new name does not add a file.
//
// Who calls: TfrmMain wires VxHexcavator1FileOpen to the editor's OnFileOpen and
// LoadRecentFiles to OnFileOpenAnyInstance; the settings load calls LoadRecentFiles.

#include <QString>
#include <string>
#include <vector>

class QAction;
class TfrmMain;

class TRecentFiles {
public:
    static constexpr size_t kMaxEntries = 10;

    explicit TRecentFiles(TfrmMain &main) : FMain(main) {}

    const std::vector<std::string> &FRecentFiles() const { return FFiles; }
    void VxHexcavator1FileOpen();
    void LoadRecentFiles();
    void RebuildRecentMenu();
    void RecentFileClick(int tag);

    // "&" + n in upper-case hexadecimal + ". " + path.
    static QString Caption(size_t n, const std::string &path);

private:
    TfrmMain &FMain;
    std::vector<std::string> FFiles;
    std::vector<QAction *> FItems;
};
