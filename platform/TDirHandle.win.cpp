#include "TDirHandle.h"
#include "TFileFaults.h"
#include "TWideText.h"
#include "TWinError.h"

#include <cerrno>
#include <system_error>
#include <windows.h>

namespace {
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool Failed()
{
    TWinError::SetErrno();
    return false;
}

// Renames, links, deletions and the folder's flush are steps of a save like the writes of
// its files: the fault seam sees each, and an injected failure comes back the way the
// system's would, as false with errno set.
bool Proceed(HANDLE dir)
{
    try {
        TFileFaults::BeforeWrite(dir);
    } catch (const std::system_error &e) {
        errno = e.code().value();
        return false;
    }
    return true;
}

// A symbolic link or a junction: a name that stands for another. Other reparse points (cloud
// placeholders, deduplicated or compressed files) are ordinary files with a filter in front.
bool IsLink(HANDLE h, bool &isDir)
{
    FILE_ATTRIBUTE_TAG_INFO tag{};
    if (!::GetFileInformationByHandleEx(h, FileAttributeTagInfo, &tag, sizeof tag)) {
        isDir = false;
        return false;
    }
    isDir = (tag.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && IsReparseTagNameSurrogate(tag.ReparseTag);
}

bool SameFile(HANDLE a, HANDLE b)
{
    BY_HANDLE_FILE_INFORMATION x, y;
    return ::GetFileInformationByHandle(a, &x) && ::GetFileInformationByHandle(b, &y) &&
           x.dwVolumeSerialNumber == y.dwVolumeSerialNumber && x.nFileIndexHigh == y.nFileIndexHigh &&
           x.nFileIndexLow == y.nFileIndexLow;
}

// Opens the entry itself, failing (ELOOP) where it is a link rather than following it; a
// folder opens for reading only, so that the caller can tell what it is.
HANDLE OpenEntry(const std::wstring &path, DWORD access, DWORD disposition)
{
    const DWORD flags = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS;
    HANDLE h = ::CreateFileW(path.c_str(), access, kShareAll, nullptr, disposition,
                             flags | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        TWinError::SetErrno();
        return h;
    }
    bool isDir = false;
    const bool link = IsLink(h, isDir);
    if (link || (isDir && (access & GENERIC_WRITE))) {
        ::CloseHandle(h);
        errno = link ? ELOOP : EISDIR;
        return INVALID_HANDLE_VALUE;
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(h, &info) || !(info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return h;
    // A file behind a filter is read through the filter: opened again the ordinary way, and
    // still the same file.
    HANDLE plain = ::CreateFileW(path.c_str(), access, kShareAll, nullptr, OPEN_EXISTING, flags, nullptr);
    const bool same = plain != INVALID_HANDLE_VALUE && SameFile(h, plain);
    if (!same) {
        if (plain == INVALID_HANDLE_VALUE)
            TWinError::SetErrno();
        else
            errno = ENOENT;
        if (plain != INVALID_HANDLE_VALUE)
            ::CloseHandle(plain);
        plain = INVALID_HANDLE_VALUE;
    }
    ::CloseHandle(h);
    return plain;
}
} // namespace

TDirHandle TDirHandle::Open(const std::string &path)
{
    TDirHandle d;
    // Listing access is what makes the share mode count: a handle with attribute access only
    // would not stop a rename. Without FILE_SHARE_DELETE nobody renames or removes the folder
    // while we hold it.
    const std::string name = path.empty() ? "." : path;
    d.FFd = ::CreateFileW(TWideText::ToWide(name).c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                          nullptr);
    if (d.FFd == INVALID_HANDLE_VALUE) {
        d.FFd = kNoFile;
        TWinError::Throw(path);
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(d.FFd, &info) || !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        throw std::system_error(ENOTDIR, std::generic_category(), path);
    d.FPath = path;
    return d;
}

TDirHandle::~TDirHandle()
{
    if (FFd != kNoFile)
        ::CloseHandle(FFd);
}

TDirHandle::TDirHandle(TDirHandle &&other) noexcept : FFd(other.FFd), FPath(std::move(other.FPath))
{
    other.FFd = kNoFile;
}

TDirHandle &TDirHandle::operator=(TDirHandle &&other) noexcept
{
    if (this != &other) {
        if (FFd != kNoFile)
            ::CloseHandle(FFd);
        FFd = other.FFd;
        FPath = std::move(other.FPath);
        other.FFd = kNoFile;
    }
    return *this;
}

std::string TDirHandle::PathOf(const std::string &name) const
{
    if (FPath.empty() || FPath == ".")
        return name;
    const char last = FPath.back();
    return last == '/' || last == '\\' ? FPath + name : FPath + "/" + name;
}

bool TDirHandle::RenameAt(const std::string &from, const std::string &to) const
{
    if (Proceed(FFd) && ::MoveFileExW(TWideText::ToWide(PathOf(from)).c_str(), TWideText::ToWide(PathOf(to)).c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    return Failed();
}

bool TDirHandle::LinkAt(const std::string &from, const std::string &to) const
{
    if (Proceed(FFd) && ::CreateHardLinkW(TWideText::ToWide(PathOf(to)).c_str(), TWideText::ToWide(PathOf(from)).c_str(), nullptr))
        return true;
    return Failed();
}

bool TDirHandle::UnlinkAt(const std::string &name) const
{
    if (!Proceed(FFd))
        return false;
    if (::DeleteFileW(TWideText::ToWide(PathOf(name)).c_str()))
        return true;
    return Failed();
}

TFileHandle TDirHandle::OpenAt(const std::string &name, TAccess access) const
{
    const std::string path = PathOf(name);
    const std::wstring wide = TWideText::ToWide(path);
    HANDLE h = INVALID_HANDLE_VALUE;
    switch (access) {
    case TAccess::Read:
        h = OpenEntry(wide, GENERIC_READ, OPEN_EXISTING);
        break;
    case TAccess::ReadWrite:
        h = OpenEntry(wide, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING);
        break;
    case TAccess::Replace:
        // Opened, then emptied: CREATE_ALWAYS would overwrite a planted link as if it were
        // the file. (The file takes the folder's permissions, like the document beside it
        // whose bytes it holds.)
        h = OpenEntry(wide, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS);
        if (h != INVALID_HANDLE_VALUE) {
            FILE_END_OF_FILE_INFO empty{};
            if (!::SetFileInformationByHandle(h, FileEndOfFileInfo, &empty, sizeof empty)) {
                TWinError::SetErrno();
                ::CloseHandle(h);
                h = INVALID_HANDLE_VALUE;
            }
        }
        break;
    }
    if (h == INVALID_HANDLE_VALUE)
        return TFileHandle();
    return TFileHandle(h, path);
}

void TDirHandle::Sync() const
{
    // NTFS logs its folder changes itself, and flushing a folder needs write access to it,
    // which this handle does not ask for. Still a step for the fault seam, as on other
    // systems, so that a save has the same steps everywhere.
    (void)Proceed(FFd);
}
