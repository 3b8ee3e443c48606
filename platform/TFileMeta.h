#pragma once
// What a file is besides its bytes: owner, group, permission bits (setuid, setgid and sticky
// included) and extended attributes, the access control list among them
// ("system.posix_acl_access"). A save that writes a new file and renames it over the old
// one hands all of it on, so the file stays what it was.
//
// Capture reads it from an open file; the Apply calls put it on another open file and say
// whether it could be reproduced exactly, so the caller can choose another way of saving
// when it cannot (writing into the old file itself keeps everything by nature).
//
// On Windows the replacing rename (ReplaceFileW) hands on the ACL, attributes, alternate
// streams and creation time itself: there Capture sees only the kind and the link count,
// and the Apply calls have nothing to do.
//
// Who calls: the engine's save. Cost: a few system calls per attribute.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class TFileHandle;

class TFileMeta {
public:
    // Throws std::system_error when the file's status cannot be read. Attributes that
    // cannot be listed (a file system without them) are simply none.
    static TFileMeta Capture(const TFileHandle &file);

    uint32_t Uid = 0;
    uint32_t Gid = 0;
    uint32_t Mode = 0; // the 07777 bits
    bool Regular = true;
    unsigned long Links = 1;
    std::vector<std::pair<std::string, std::string>> Xattrs;
    // False when some attribute could be listed but not read: a copy would lose it.
    bool XattrsComplete = true;

    // Whether this process may give a new file this owner and group: the superuser may,
    // others only their own user and one of their groups. Decided by trying it on `file`.
    bool ApplyOwner(const TFileHandle &file) const;
    // Permission bits; without `ownerKept` the setuid and setgid bits are left out, so that
    // they never pass to the user who saves. Call after the bytes are written: a write by
    // a non-superuser clears those bits.
    bool ApplyMode(const TFileHandle &file, bool ownerKept) const;
    // Every captured attribute; false as soon as one cannot be set.
    bool ApplyXattrs(const TFileHandle &file) const;
    // The bits of a file that had no predecessor: 0666 less the umask.
    static bool ApplyNewFileMode(const TFileHandle &file);
    // The bits of the file named `model` (following links), or a new file's when nothing has
    // that name: a settings file rewritten keeps its permissions.
    static bool ApplyModeOf(const std::string &model, const TFileHandle &file);
};
