#pragma once
// What makes "the file the user opened" that file: its device, inode, size and modification
// time (on Windows: the volume's serial number, the file index, the size and the last write
// time). Taken at load and after each save, compared before the next save and whenever the
// file watcher reports something, so that a file replaced, truncated, deleted or swapped for a
// symbolic link by another program is noticed. Equal identities mean "nothing happened that
// the system can see" (a rewrite of the same size within one tick of the file system's clock,
// a few milliseconds, goes unnoticed).
//
// A small value type: copy it freely. Cost: one stat.

#include <cerrno>
#include <cstdint>
#include <string>

class TDirHandle;
class TFileHandle;

struct TFileIdentity {
    bool Exists = false;
    bool IsLink = false; // only from OfEntry: the name itself is a symbolic link
    uint64_t Dev = 0;
    uint64_t Ino = 0;
    int64_t Size = 0;
    int64_t MtimeNs = 0;

    // Follows symbolic links, as opening the name does.
    static TFileIdentity Of(const std::string &path);
    // The name itself, not following a final symbolic link (relative to an open folder).
    static TFileIdentity OfEntry(const TDirHandle &dir, const std::string &name);
    static TFileIdentity Of(const TFileHandle &file);

    bool operator==(const TFileIdentity &o) const
    {
        return Exists == o.Exists && IsLink == o.IsLink && Dev == o.Dev && Ino == o.Ino && Size == o.Size &&
               MtimeNs == o.MtimeNs;
    }
    bool operator!=(const TFileIdentity &o) const { return !(*this == o); }
    // Same inode, whatever its size and time.
    bool SameFile(const TFileIdentity &o) const { return Exists && o.Exists && Dev == o.Dev && Ino == o.Ino; }

    // The errno that says "the name leads to another file than the one found".
#ifdef ESTALE
    static constexpr int kReplaced = ESTALE;
#else
    static constexpr int kReplaced = ENOENT;
#endif
};
