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
// The two separators are this feature's commands in the place "file.recent"; the entries go
// between them in whichever menu the window put them.
//
// Who calls: TFileCommands wires VxHexcavator1FileOpen to the editor's OnFileOpen and
// LoadRecentFiles to OnFileOpenAnyInstance; its settings section (applied last) calls
// LoadRecentFiles.

#include <QString>
#include <string>
#include <vector>

#include "TFeatureContext.h"

#include <QString>
#include <functional>
#include <string>
#include <vector>

class QAction;
class TVxHexcavator;

class TRecentFiles {
public:
    static constexpr size_t kMaxEntries = 10;

    // `open` opens an entry through the open rule.
    TRecentFiles(const TFeatureContext &context, std::function<void(const QString &)> open);

    const std::vector<std::string> &FRecentFiles() const { return FFiles; }
    void VxHexcavator1FileOpen();
    void LoadRecentFiles();
    void RebuildRecentMenu();
    void RecentFileClick(int tag);

    // "&" + n in upper-case hexadecimal + ". " + path.
    static QString Caption(size_t n, const std::string &path);

private:
    TVxHexcavator &FEditor;
    std::function<void(const QString &)> FOpen;
    QAction *FStart;
    QAction *FEnd;
    std::vector<std::string> FFiles;
    std::vector<QAction *> FItems;
};
