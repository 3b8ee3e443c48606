#include "TShellPaths.h"

#include "TWideText.h"

#include <cwctype>
// <windows.h> first: the other system headers build on it.
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace {
// Longer than any path the wide calls take.
constexpr DWORD kLongest = 32768;

std::string Forward(std::string path)
{
    for (char &c : path)
        if (c == '\\')
            c = '/';
    return path;
}

bool EndsWithNoCase(const std::wstring &s, const std::wstring &tail)
{
    if (s.size() < tail.size())
        return false;
    for (size_t i = 0; i < tail.size(); ++i)
        if (std::towlower(s[s.size() - tail.size() + i]) != tail[i])
            return false;
    return true;
}

bool IsSymbolicLink(const std::wstring &path)
{
    WIN32_FIND_DATAW found;
    const HANDLE find = ::FindFirstFileExW(path.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    ::FindClose(find);
    return (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && found.dwReserved0 == IO_REPARSE_TAG_SYMLINK;
}

// "\\?\C:\..." and "\\?\UNC\server\..." as the ordinary forms.
std::wstring WithoutLongPrefix(std::wstring path)
{
    if (path.rfind(L"\\\\?\\UNC\\", 0) == 0)
        return L"\\\\" + path.substr(8);
    if (path.rfind(L"\\\\?\\", 0) == 0)
        return path.substr(4);
    return path;
}

// The file a symbolic link leads to, followed to the end by the system; empty when it leads
// nowhere.
std::wstring LinkTarget(const std::wstring &path)
{
    const HANDLE h = ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return std::wstring();
    std::wstring buf(kLongest, L'\0');
    const DWORD n = ::GetFinalPathNameByHandleW(h, buf.data(), kLongest, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    ::CloseHandle(h);
    if (n == 0 || n >= kLongest)
        return std::wstring();
    buf.resize(n);
    return WithoutLongPrefix(buf);
}

// Whether `path` is a shell shortcut at all, and `target` the file it stands for: empty when
// it names none (a shortcut to a printer, a control panel item).
bool ReadShortcut(const std::wstring &path, std::wstring &target)
{
    // COM on this thread for the duration, unless it is already there in any form.
    const HRESULT init = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    bool loaded = false;
    IShellLinkW *link = nullptr;
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                     reinterpret_cast<void **>(&link)))) {
        IPersistFile *file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file)))) {
            std::wstring buf(kLongest, L'\0');
            // The stored path, not a search for a target that moved: that could take seconds.
            loaded = SUCCEEDED(file->Load(path.c_str(), STGM_READ));
            // The item list names the file in Unicode; the plain path of a shortcut may be
            // kept in the ANSI code page only, which loses a Japanese name.
            PIDLIST_ABSOLUTE items = nullptr;
            if (loaded && link->GetIDList(&items) == S_OK &&
                ::SHGetPathFromIDListEx(items, buf.data(), kLongest, GPFIDL_DEFAULT))
                target = buf.c_str();
            else if (loaded && link->GetPath(buf.data(), int(kLongest), nullptr, 0) == S_OK)
                target = buf.c_str();
            ::CoTaskMemFree(items);
            file->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(init))
        ::CoUninitialize();
    return loaded;
}
} // namespace

std::string TShellPaths::ResolveShortcut(const std::string &path)
{
    const std::wstring wide = TWideText::ToWide(path);
    if (wide.empty())
        return path;
    if (IsSymbolicLink(wide)) {
        const std::wstring target = LinkTarget(wide);
        // A dangling link names nothing, so nothing opens.
        return target.empty() ? path : Forward(TWideText::ToUtf8(target));
    }
    const DWORD attrs = ::GetFileAttributesW(wide.c_str());
    std::wstring target;
    // A file named like a shortcut that is none opens as what it is.
    if (attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY) && EndsWithNoCase(wide, L".lnk") &&
        ReadShortcut(wide, target))
        return Forward(TWideText::ToUtf8(target));
    return path;
}

std::string TShellPaths::ExpandLongPath(const std::string &path)
{
    const std::wstring wide = TWideText::ToWide(path);
    if (wide.empty() || ::GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES)
        return path;
    std::wstring full(kLongest, L'\0');
    DWORD n = ::GetFullPathNameW(wide.c_str(), kLongest, full.data(), nullptr);
    if (n == 0 || n >= kLongest)
        return path;
    full.resize(n);
    std::wstring longer(kLongest, L'\0');
    n = ::GetLongPathNameW(full.c_str(), longer.data(), kLongest);
    if (n == 0 || n >= kLongest)
        return Forward(TWideText::ToUtf8(full));
    longer.resize(n);
    return Forward(TWideText::ToUtf8(longer));
}
