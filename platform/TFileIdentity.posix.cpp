#include "TFileIdentity.h"
#include "TDirHandle.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace {
TFileIdentity FromStat(const struct stat &st)
{
    TFileIdentity id;
    id.Exists = true;
    id.IsLink = S_ISLNK(st.st_mode);
    id.Dev = static_cast<uint64_t>(st.st_dev);
    id.Ino = static_cast<uint64_t>(st.st_ino);
    id.Size = static_cast<int64_t>(st.st_size);
    id.MtimeNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return id;
}
} // namespace

TFileIdentity TFileIdentity::Of(const std::string &path)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return TFileIdentity();
    return FromStat(st);
}

TFileIdentity TFileIdentity::OfEntry(const TDirHandle &dir, const std::string &name)
{
    struct stat st;
    if (::fstatat(dir.Fd(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return TFileIdentity();
    return FromStat(st);
}

TFileIdentity TFileIdentity::Of(const TFileHandle &file)
{
    struct stat st;
    if (::fstat(file.Fd(), &st) != 0)
        return TFileIdentity();
    return FromStat(st);
}
