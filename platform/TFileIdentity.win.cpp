#include "TFileIdentity.h"
#include "TDirHandle.h"
#include "TWideText.h"

#include <windows.h>

namespace {
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

TFileIdentity FromHandle(HANDLE h)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (h == INVALID_HANDLE_VALUE || !::GetFileInformationByHandle(h, &info))
        return TFileIdentity();
    TFileIdentity id;
    id.Exists = true;
    // A name surrogate is a link or junction: a name that stands for another file.
    FILE_ATTRIBUTE_TAG_INFO tag{};
    id.IsLink = (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
                ::GetFileInformationByHandleEx(h, FileAttributeTagInfo, &tag, sizeof tag) &&
                IsReparseTagNameSurrogate(tag.ReparseTag);
    id.Dev = info.dwVolumeSerialNumber;
    id.Ino = (uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    id.Size = int64_t((uint64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
    // 100-nanosecond ticks since 1601: only compared, so the epoch does not matter.
    id.MtimeNs = int64_t((uint64_t(info.ftLastWriteTime.dwHighDateTime) << 32) | info.ftLastWriteTime.dwLowDateTime) * 100;
    return id;
}

// Attribute access only: it is granted even while another program holds the file without
// sharing it, and it never waits.
TFileIdentity OfName(const std::string &path, DWORD flags)
{
    HANDLE h = ::CreateFileW(TWideText::ToWide(path).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr);
    const TFileIdentity id = FromHandle(h);
    if (h != INVALID_HANDLE_VALUE)
        ::CloseHandle(h);
    return id;
}
} // namespace

TFileIdentity TFileIdentity::Of(const std::string &path)
{
    TFileIdentity id = OfName(path, 0);
    id.IsLink = false; // followed: whatever it is, it is not the link
    return id;
}

TFileIdentity TFileIdentity::OfEntry(const TDirHandle &dir, const std::string &name)
{
    return OfName(dir.PathOf(name), FILE_FLAG_OPEN_REPARSE_POINT);
}

TFileIdentity TFileIdentity::Of(const TFileHandle &file) { return FromHandle(file.Fd()); }
