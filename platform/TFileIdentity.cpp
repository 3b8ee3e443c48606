#include "TFileIdentity.h"

#include <fcntl.h>
#include <sys/stat.h>

TFileIdentity TFileIdentity::FromStat(const struct stat &st)
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

TFileIdentity TFileIdentity::Of(const std::string &path)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return TFileIdentity();
    return FromStat(st);
}

TFileIdentity TFileIdentity::OfEntry(int dirFd, const std::string &name)
{
    struct stat st;
    if (::fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return TFileIdentity();
    return FromStat(st);
}

TFileIdentity TFileIdentity::OfFd(int fd)
{
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return TFileIdentity();
    return FromStat(st);
}
