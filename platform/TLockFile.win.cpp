#include "TLockFile.h"

#include "TDirHandle.h"
#include "TWideText.h"
#include "TWinError.h"

#include <cerrno>
#include <system_error>
#include <windows.h>

namespace {
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

[[noreturn]] void Fail(int err, const TDirHandle &dir, const std::string &name)
{
    throw std::system_error(err, std::generic_category(), dir.PathOf(name));
}

// Delete access lets the holder remove the file before letting go; another user's lock
// file may be open to us for reading only, which is all LockFileEx needs.
HANDLE OpenLock(const std::wstring &path)
{
    const DWORD flags = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT;
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, kShareAll, nullptr, OPEN_ALWAYS,
                             flags, nullptr);
    if (h == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_ACCESS_DENIED)
        h = ::CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, flags, nullptr);
    return h;
}

// A file, not a folder, a device or a link (a name-surrogate reparse point); a file behind a
// filter (a cloud placeholder) is a file.
bool IsPlainFile(HANDLE h)
{
    FILE_ATTRIBUTE_TAG_INFO tag{};
    return ::GetFileType(h) == FILE_TYPE_DISK &&
           ::GetFileInformationByHandleEx(h, FileAttributeTagInfo, &tag, sizeof tag) &&
           !(tag.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !((tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && IsReparseTagNameSurrogate(tag.ReparseTag));
}

// Whether the name still leads to the file `h` holds.
bool NameLeadsTo(const std::wstring &path, HANDLE h)
{
    HANDLE named = ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (named == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION a, b;
    const bool same = ::GetFileInformationByHandle(named, &a) && ::GetFileInformationByHandle(h, &b) &&
                      a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
                      a.nFileIndexLow == b.nFileIndexLow;
    ::CloseHandle(named);
    return same;
}

// Removes the name now (POSIX semantics, Windows 10 1607 and later: the headers declare that
// class only for a newer target than ours), or when the last handle to the file closes;
// meanwhile the name opens for nobody.
void RemoveName(HANDLE h)
{
    constexpr auto kDispositionEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(21); // FileDispositionInfoEx
    DWORD now = FILE_DISPOSITION_FLAG_DELETE | FILE_DISPOSITION_FLAG_POSIX_SEMANTICS;
    if (::SetFileInformationByHandle(h, kDispositionEx, &now, sizeof now))
        return;
    FILE_DISPOSITION_INFO atClose{TRUE};
    (void)::SetFileInformationByHandle(h, FileDispositionInfo, &atClose, sizeof atClose);
}
} // namespace

TLockFile TLockFile::Acquire(const TDirHandle &dir, const std::string &name, mode_t, int waitMs)
{
    const std::wstring path = TWideText::ToWide(dir.PathOf(name));
    const ULONGLONG deadline = ::GetTickCount64() + ULONGLONG(waitMs > 0 ? waitMs : 0);
    DWORD pause = 1;
    auto wait = [&] {
        ::Sleep(pause);
        pause = pause < 16 ? pause * 2 : pause;
    };
    for (;;) {
        HANDLE h = OpenLock(path);
        if (h == INVALID_HANDLE_VALUE) {
            // The previous holder's file, removed but still open somewhere, refuses every
            // opener until it is gone: wait for that like for a held lock.
            const DWORD err = ::GetLastError();
            if (err == ERROR_ACCESS_DENIED && ::GetTickCount64() < deadline) {
                wait();
                continue;
            }
            Fail(TWinError::ToErrno(err), dir, name);
        }
        if (!IsPlainFile(h)) {
            ::CloseHandle(h);
            Fail(EINVAL, dir, name);
        }
        OVERLAPPED at{};
        while (!::LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
            const DWORD err = ::GetLastError();
            if (err == ERROR_NOT_SUPPORTED || err == ERROR_INVALID_FUNCTION) {
                // A file system without locks: go ahead unlocked, as before locks.
                RemoveName(h);
                ::CloseHandle(h);
                return TLockFile();
            }
            if (err != ERROR_LOCK_VIOLATION || ::GetTickCount64() >= deadline) {
                ::CloseHandle(h);
                Fail(err == ERROR_LOCK_VIOLATION ? ETIMEDOUT : TWinError::ToErrno(err), dir, name);
            }
            wait();
        }
        // Ours only if the name still leads to the file we locked: the holder before us
        // removed it before letting go, and a newcomer may have created another.
        if (NameLeadsTo(path, h)) {
            TLockFile lock;
            lock.FFd = h;
            lock.FName = dir.PathOf(name);
            return lock;
        }
        ::CloseHandle(h);
        if (::GetTickCount64() >= deadline)
            Fail(ETIMEDOUT, dir, name);
    }
}

TLockFile::TLockFile(TLockFile &&other) noexcept : FFd(other.FFd), FDirFd(other.FDirFd), FName(std::move(other.FName))
{
    other.FFd = kNoFile;
}

TLockFile &TLockFile::operator=(TLockFile &&other) noexcept
{
    if (this != &other) {
        Release();
        FFd = other.FFd;
        FName = std::move(other.FName);
        other.FFd = kNoFile;
    }
    return *this;
}

void TLockFile::Release()
{
    if (FFd != kNoFile) {
        // Removed while still locked, so nobody can lock this file and take it for current.
        RemoveName(FFd);
        ::CloseHandle(FFd);
    }
    FFd = kNoFile;
}
