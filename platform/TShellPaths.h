#pragma once
// The two path conversions the command line and dropped files share.
//
// ResolveShortcut: what a desktop shortcut stands for. A symbolic link gives the file it
// leads to (followed to the end; a dangling link comes back unchanged). POSIX: a freedesktop
// ".desktop" file of Type=Link gives the local file of its URL ("file://" only,
// percent-escapes decoded), or "" when it names none (nor does a path with a zero byte).
// Windows: a shell shortcut (".lnk", any case) gives the path stored in it (IShellLinkW, no
// search for a target that moved), or "" when it names no file; a ".lnk" that is no shortcut
// inside is a file like any other. Any other path is returned unchanged.
//
// ExpandLongPath: an existing entry's absolute, normalised path ("." and ".." removed,
// relative paths taken from the current folder, names as the file system stores them; on
// Windows 8.3 short names expanded, GetFullPathNameW then GetLongPathNameW); a path naming
// nothing comes back unchanged.
//
// On Windows the answers separate names with '/', as the program's paths do everywhere.

#include <string>

class TShellPaths {
public:
    static std::string ResolveShortcut(const std::string &path);
    static std::string ExpandLongPath(const std::string &path);
};
