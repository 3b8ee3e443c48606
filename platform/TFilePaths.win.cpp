#include "TFilePaths.h"
#include "TWideText.h"

#include <cstddef>
#include <vector>
#include <windows.h>
#include <winioctl.h>

namespace {
bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// What FSCTL_GET_REPARSE_POINT answers for a symbolic link (the kernel's
// REPARSE_DATA_BUFFER, whose declaration is not among the user-mode headers).
struct TSymlinkData {
    ULONG ReparseTag;
    USHORT ReparseDataLength;
    USHORT Reserved;
    USHORT SubstituteNameOffset;
    USHORT SubstituteNameLength;
    USHORT PrintNameOffset;
    USHORT PrintNameLength;
    ULONG Flags;
    WCHAR PathBuffer[1];
};

// The length of the root that starts the path: "C:\" and "/" are roots of their own, and a
// share "\\server\share\" or "\\?\C:\" is one root as a whole. 0 for a relative path.
size_t RootLength(const std::string &p)
{
    if (p.size() >= 2 && IsSeparator(p[0]) && IsSeparator(p[1])) {
        // "\\?\C:\..." and "\\.\..." carry their drive after the prefix.
        if (p.size() >= 4 && (p[2] == '?' || p[2] == '.') && IsSeparator(p[3])) {
            const size_t rest = RootLength(p.substr(4));
            return rest ? 4 + rest : 4;
        }
        // "\\server\share\": the separator after the share belongs to the root.
        size_t seps = 0;
        for (size_t i = 2; i < p.size(); ++i)
            if (IsSeparator(p[i]) && ++seps == 2)
                return i + 1;
        return p.size();
    }
    if (p.size() >= 2 && p[1] == ':')
        return p.size() >= 3 && IsSeparator(p[2]) ? 3 : 2;
    return !p.empty() && IsSeparator(p[0]) ? 1 : 0;
}

size_t LastSeparator(const std::string &path) { return path.find_last_of("/\\"); }

// The target of the symbolic link `path`, as stored; false when it is no symbolic link.
bool ReadLink(const std::string &path, std::string &target, bool &relative)
{
    HANDLE h = ::CreateFileW(TWideText::ToWide(path).c_str(), FILE_READ_ATTRIBUTES,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                             FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    std::vector<char> buf(MAXIMUM_REPARSE_DATA_BUFFER_SIZE);
    DWORD got = 0;
    const bool ok = ::DeviceIoControl(h, FSCTL_GET_REPARSE_POINT, nullptr, 0, buf.data(), DWORD(buf.size()), &got,
                                      nullptr) != 0;
    ::CloseHandle(h);
    const auto *link = reinterpret_cast<const TSymlinkData *>(buf.data());
    if (!ok || got < offsetof(TSymlinkData, PathBuffer) || link->ReparseTag != IO_REPARSE_TAG_SYMLINK)
        return false;
    const WCHAR *names = link->PathBuffer;
    // The printable name is the one the user gave ("C:\data\x.bin"); the substitute one
    // carries the kernel's "\??\" prefix.
    std::wstring name(names + link->PrintNameOffset / sizeof(WCHAR), link->PrintNameLength / sizeof(WCHAR));
    if (name.empty()) {
        name.assign(names + link->SubstituteNameOffset / sizeof(WCHAR), link->SubstituteNameLength / sizeof(WCHAR));
        if (name.compare(0, 4, L"\\??\\") == 0)
            name.erase(0, 4);
    }
    target = TWideText::ToUtf8(name);
    relative = (link->Flags & SYMLINK_FLAG_RELATIVE) != 0;
    return !target.empty();
}
} // namespace

bool TFilePaths::Exists(const std::string &path)
{
    // GetFileAttributesW does not follow a link: a dangling one exists too.
    if (::GetFileAttributesW(TWideText::ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES)
        return true;
    return ::GetLastError() == ERROR_SHARING_VIOLATION; // there, but held by the system
}

std::string TFilePaths::ResolveLinks(const std::string &path)
{
    std::string cur = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::string target;
        bool relative = false;
        if (!ReadLink(cur, target, relative))
            return cur; // not a link, or missing: this is the file to write
        if (relative) {
            const std::string dir = DirName(cur);
            cur = IsSeparator(dir.back()) ? dir + target : dir + "/" + target;
        } else {
            cur = target;
        }
    }
    return cur;
}

mode_t TFilePaths::NewFileMode()
{
    // No umask: a new file takes the permissions its folder hands down.
    return 0666;
}

std::string TFilePaths::DirName(const std::string &path)
{
    const size_t root = RootLength(path);
    const size_t sep = LastSeparator(path);
    if (sep == std::string::npos || sep < root)
        return root ? path.substr(0, root) : ".";
    return path.substr(0, sep);
}

std::string TFilePaths::BaseName(const std::string &path)
{
    const size_t root = RootLength(path);
    const size_t sep = LastSeparator(path);
    const size_t from = sep == std::string::npos || sep < root ? root : sep + 1;
    return path.substr(from);
}
