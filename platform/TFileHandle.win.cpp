#include "TFileHandle.h"
#include "TFileFaults.h"
#include "TWideText.h"
#include "TWinError.h"

#include <algorithm>
#include <cerrno>
#include <system_error>
#include <windows.h>
#include <winioctl.h>

namespace {
// Every handle lets others read, write, rename and delete: the user's other programs must not
// find the document locked because the editor has it open (the editor notices a change
// through the file's identity instead).
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// ReadFile and WriteFile take a DWORD count.
constexpr size_t kMaxIo = size_t(1) << 30;

OVERLAPPED At(int64_t pos)
{
    OVERLAPPED ov{};
    ov.Offset = static_cast<DWORD>(static_cast<uint64_t>(pos));
    ov.OffsetHigh = static_cast<DWORD>(static_cast<uint64_t>(pos) >> 32);
    return ov;
}

[[noreturn]] void FailPath(const std::string &path) { TWinError::Throw(path); }
} // namespace

TFileHandle::~TFileHandle() { Close(); }

TFileHandle::TFileHandle(TFileHandle &&other) noexcept : FFd(other.FFd), FPath(std::move(other.FPath))
{
    other.FFd = kNoFile;
}

TFileHandle &TFileHandle::operator=(TFileHandle &&other) noexcept
{
    if (this != &other) {
        Close();
        FFd = other.FFd;
        FPath = std::move(other.FPath);
        other.FFd = kNoFile;
    }
    return *this;
}

void TFileHandle::Close()
{
    if (FFd != kNoFile)
        ::CloseHandle(FFd);
    FFd = kNoFile;
}

void TFileHandle::Fail(const char *what) const
{
    throw std::system_error(errno, std::generic_category(), FPath.empty() ? std::string(what) : FPath);
}

namespace {
// Fail() reports errno, as on every system; here it comes from the last Windows error.
[[noreturn]] void FailLast(const TFileHandle &file, const char *what)
{
    TWinError::SetErrno();
    file.Fail(what);
}
} // namespace

TFileHandle TFileHandle::OpenRead(const std::string &path)
{
    // Opening never waits on Windows (a pipe answers busy instead); backup semantics let a
    // folder open too, so that the caller can tell the user it is a folder.
    HANDLE h = ::CreateFileW(TWideText::ToWide(path).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        FailPath(path);
    return TFileHandle(h, path);
}

TFileHandle TFileHandle::CreateNew(const std::string &path, mode_t)
{
    // CREATE_NEW fails on any existing name, a symbolic link included, so nothing is followed.
    HANDLE h = ::CreateFileW(TWideText::ToWide(path).c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr,
                             CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        FailPath(path);
    return TFileHandle(h, path);
}

int64_t TFileHandle::Length() const
{
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(FFd, &size))
        FailLast(*this, "GetFileSizeEx");
    return size.QuadPart;
}

TFileHandle::TKind TFileHandle::Kind() const
{
    // Devices (CON, NUL, COM1), pipes and consoles open like files but are none.
    ::SetLastError(NO_ERROR);
    const DWORD type = ::GetFileType(FFd);
    if (type == FILE_TYPE_UNKNOWN && ::GetLastError() != NO_ERROR)
        FailLast(*this, "GetFileType");
    if (type != FILE_TYPE_DISK)
        return TKind::Other;
    FILE_ATTRIBUTE_TAG_INFO tag{};
    if (!::GetFileInformationByHandleEx(FFd, FileAttributeTagInfo, &tag, sizeof tag))
        FailLast(*this, "GetFileInformationByHandleEx");
    if (tag.FileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return TKind::Directory;
    // A link or junction opened as itself is not the file it leads to; other reparse points
    // (cloud placeholders, deduplicated or compressed files) are ordinary files.
    const bool link = (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && IsReparseTagNameSurrogate(tag.ReparseTag);
    return link ? TKind::Other : TKind::Regular;
}

size_t TFileHandle::ReadAt(int64_t pos, void *buf, size_t count) const
{
    TFileFaults::BeforeRead();
    size_t done = 0;
    auto *p = static_cast<char *>(buf);
    while (done < count) {
        OVERLAPPED ov = At(pos + static_cast<int64_t>(done));
        DWORD got = 0;
        if (!::ReadFile(FFd, p + done, static_cast<DWORD>(std::min(count - done, kMaxIo)), &got, &ov)) {
            if (::GetLastError() == ERROR_HANDLE_EOF)
                break;
            FailLast(*this, "ReadFile");
        }
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

void TFileHandle::ReadExact(int64_t pos, void *buf, size_t count) const
{
    if (ReadAt(pos, buf, count) != count) {
        errno = EIO;
        Fail("short read");
    }
}

void TFileHandle::WriteAt(int64_t pos, const void *buf, size_t count)
{
    TFileFaults::BeforeWrite(FFd);
    size_t done = 0;
    auto *p = static_cast<const char *>(buf);
    while (done < count) {
        OVERLAPPED ov = At(pos + static_cast<int64_t>(done));
        DWORD put = 0;
        if (!::WriteFile(FFd, p + done, static_cast<DWORD>(std::min(count - done, kMaxIo)), &put, &ov))
            FailLast(*this, "WriteFile");
        if (put == 0) {
            errno = ENOSPC;
            Fail("WriteFile");
        }
        done += put;
    }
}

void TFileHandle::SetLength(int64_t length)
{
    TFileFaults::BeforeWrite(FFd);
    if (!TrySetLength(length))
        FailLast(*this, "SetFileInformationByHandle");
}

bool TFileHandle::TrySetLength(int64_t length) noexcept
{
    FILE_END_OF_FILE_INFO eof;
    eof.EndOfFile.QuadPart = length;
    return ::SetFileInformationByHandle(FFd, FileEndOfFileInfo, &eof, sizeof eof) != 0;
}

void TFileHandle::Reserve(int64_t pos, int64_t len)
{
    if (len <= 0)
        return;
    TFileFaults::BeforeWrite(FFd);
    // An allocation below the length would cut the file: only ever grow it.
    if (pos + len <= Length())
        return;
    FILE_ALLOCATION_INFO alloc;
    alloc.AllocationSize.QuadPart = pos + len;
    if (::SetFileInformationByHandle(FFd, FileAllocationInfo, &alloc, sizeof alloc))
        return;
    switch (::GetLastError()) {
    case ERROR_INVALID_PARAMETER:
    case ERROR_INVALID_FUNCTION:
    case ERROR_NOT_SUPPORTED:
    case ERROR_CALL_NOT_IMPLEMENTED:
        return; // a file system that cannot reserve
    default:
        FailLast(*this, "SetFileInformationByHandle");
    }
}

void TFileHandle::Discard(int64_t pos, int64_t len) noexcept
{
    if (len <= 0 || FFd == kNoFile)
        return;
    // Zeroing a range hands its clusters back only in a sparse file; in any other it would
    // write the zeros, which costs time and frees nothing.
    FILE_BASIC_INFO basic{};
    if (!::GetFileInformationByHandleEx(FFd, FileBasicInfo, &basic, sizeof basic) ||
        !(basic.FileAttributes & FILE_ATTRIBUTE_SPARSE_FILE))
        return;
    FILE_ZERO_DATA_INFORMATION zero;
    zero.FileOffset.QuadPart = pos;
    zero.BeyondFinalZero.QuadPart = pos + len;
    DWORD unused = 0;
    (void)::DeviceIoControl(FFd, FSCTL_SET_ZERO_DATA, &zero, sizeof zero, nullptr, 0, &unused, nullptr);
}

void TFileHandle::Sync()
{
    TFileFaults::BeforeWrite(FFd);
    if (!::FlushFileBuffers(FFd))
        FailLast(*this, "FlushFileBuffers");
    // NTFS stamps a written file's last write time when the handle closes, after the
    // identity that the caller takes next: stamped now, the time the file keeps is the
    // one the caller sees, and closing changes nothing. (Best effort: a handle without
    // the right to change attributes keeps the system's stamp.)
    FILE_BASIC_INFO basic{};
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    basic.LastWriteTime.LowPart = now.dwLowDateTime;
    basic.LastWriteTime.HighPart = static_cast<LONG>(now.dwHighDateTime);
    (void)::SetFileInformationByHandle(FFd, FileBasicInfo, &basic, sizeof basic);
}
