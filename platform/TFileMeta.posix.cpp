#include "TFileMeta.h"
#include "TFileHandle.h"
#include "TFilePaths.h"

#include <cerrno>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <system_error>
#include <unistd.h>

TFileMeta TFileMeta::Capture(const TFileHandle &file)
{
    const int fd = file.Fd();
    TFileMeta m;
    struct stat st;
    if (::fstat(fd, &st) != 0)
        throw std::system_error(errno, std::generic_category(), "fstat");
    m.Uid = st.st_uid;
    m.Gid = st.st_gid;
    m.Mode = st.st_mode & 07777;
    m.Regular = S_ISREG(st.st_mode);
    m.Links = static_cast<unsigned long>(st.st_nlink);

    ssize_t len = ::flistxattr(fd, nullptr, 0);
    if (len <= 0)
        return m; // none, or a file system without attributes
    std::string names(static_cast<size_t>(len), '\0');
    len = ::flistxattr(fd, names.data(), names.size());
    if (len < 0) {
        m.XattrsComplete = false;
        return m;
    }
    names.resize(static_cast<size_t>(len));
    for (size_t pos = 0; pos < names.size();) {
        const std::string name = names.c_str() + pos;
        pos += name.size() + 1;
        if (name.empty())
            continue;
        ssize_t vlen = ::fgetxattr(fd, name.c_str(), nullptr, 0);
        std::string value(vlen > 0 ? static_cast<size_t>(vlen) : 0, '\0');
        if (vlen > 0)
            vlen = ::fgetxattr(fd, name.c_str(), value.data(), value.size());
        if (vlen < 0) {
            m.XattrsComplete = false;
            continue;
        }
        value.resize(static_cast<size_t>(vlen));
        m.Xattrs.emplace_back(name, std::move(value));
    }
    return m;
}

bool TFileMeta::ApplyOwner(const TFileHandle &file) const
{
    const int fd = file.Fd();
    struct stat st;
    if (::fstat(fd, &st) == 0 && st.st_uid == Uid && st.st_gid == Gid)
        return true;
    return ::fchown(fd, Uid, Gid) == 0;
}

bool TFileMeta::ApplyMode(const TFileHandle &file, bool ownerKept) const
{
    const mode_t mode = ownerKept ? Mode : (Mode & ~mode_t(S_ISUID | S_ISGID));
    return ::fchmod(file.Fd(), mode) == 0;
}

bool TFileMeta::ApplyNewFileMode(const TFileHandle &file) { return ::fchmod(file.Fd(), TFilePaths::NewFileMode()) == 0; }

bool TFileMeta::ApplyXattrs(const TFileHandle &file) const
{
    for (const auto &[name, value] : Xattrs)
        if (::fsetxattr(file.Fd(), name.c_str(), value.data(), value.size(), 0) != 0)
            return false;
    return true;
}

bool TFileMeta::ApplyModeOf(const std::string &model, const TFileHandle &file)
{
    struct stat st;
    if (::stat(model.c_str(), &st) != 0)
        return ApplyNewFileMode(file);
    return ::fchmod(file.Fd(), st.st_mode & 07777) == 0;
}
