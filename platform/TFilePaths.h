#pragma once
// Path services: existence, symlink resolution, permission bits, names. Paths are UTF-8;
// on Windows '\\' separates names as well as '/', a root ("C:\\", "C:/", "\\\\server\\share\\")
// stays a root in DirName, links are symbolic-link reparse points (not shell shortcuts), and
// NewFileMode is 0666: a new file takes the permissions its folder hands down.

#include <string>
#include <sys/types.h>

class TFilePaths {
public:
    // True when something (even a dangling symlink) has this name.
    static bool Exists(const std::string &path);
    // Follows symlinks in the last component (relative targets against the link's folder)
    // until a non-link or a missing name; so writing "through" a link reaches its file.
    static std::string ResolveLinks(const std::string &path);
    // Bits a newly created file gets: 0666 less the umask.
    static mode_t NewFileMode();
    static std::string DirName(const std::string &path);
    // The last component: "b" of "/a/b", the whole path when it has no '/'.
    static std::string BaseName(const std::string &path);
};
