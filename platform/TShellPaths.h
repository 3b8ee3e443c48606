#pragma once
// The two path conversions the command line and dropped files share.
//
// ResolveShortcut: what a desktop shortcut stands for. A symbolic link gives the file it
// leads to (followed to the end); a freedesktop ".desktop" file of Type=Link gives the local
// file of its URL ("file://" only, percent-escapes decoded), or "" when it names none; any
// other path is returned unchanged.
//
// ExpandLongPath: an existing entry's absolute, normalised path ("." and ".." removed,
// relative paths taken from the current folder, names as the file system stores them); a
// path naming nothing comes back unchanged.

#include <string>

class TShellPaths {
public:
    static std::string ResolveShortcut(const std::string &path);
    static std::string ExpandLongPath(const std::string &path);
};
