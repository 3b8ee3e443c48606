#pragma once
// The bookmarks file's contents: for each file that has bookmarks, its absolute path, the
// size and modification time it had when they were written, and the bookmarks.
//
// The text is UTF-8, one record a line, fields separated by tabs:
//   # Hexcavator bookmarks 1
//   F  size  mtime-ns  path                   a file; the bookmark lines that follow are its
//   B  offset  length  BBGGRR  name           a bookmark (colour in hex, the settings' way)
// Paths and names escape a backslash, tab, line feed and carriage return as \\ \t \n \r,
// so any name survives. Records are kept most recently written first, at most kMaxFiles
// of them: the file does not grow without end as the user opens file after file.
//
// Parse never throws and takes linear time, whatever the text: a line it cannot read (an
// unknown kind, a number out of range, a bad escape, a bookmark outside its file or with no
// file before it, a second record of a path) is skipped and counted in DamagedLines(), so a
// file edited or cut short by hand loses only what is unreadable. Serialize writes only
// what reads back: Parse(Serialize()) gives the same records.
//
// Who calls: TVxBookmarkStore reads and writes the file; tests and the fuzz target.

#include "TVxBookmarks.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TVxBookmarkRecord {
    std::string Path;
    int64_t Size = 0;
    int64_t MtimeNs = 0;
    std::vector<TVxBookmark> Marks; // Ids are not kept: a load gives new ones
};

class TVxBookmarkFile {
public:
    static constexpr size_t kMaxFiles = 1000;

    static TVxBookmarkFile Parse(std::string_view text);
    std::string Serialize() const;

    const std::vector<TVxBookmarkRecord> &Records() const { return FRecords; }
    const TVxBookmarkRecord *Find(const std::string &path) const;
    // Makes `record` the first, replacing the path's old one; a record without bookmarks
    // removes the path instead. Beyond kMaxFiles the least recently written go.
    void Put(TVxBookmarkRecord record);
    size_t DamagedLines() const { return FDamaged; }

private:
    std::vector<TVxBookmarkRecord> FRecords;
    size_t FDamaged = 0;
};
