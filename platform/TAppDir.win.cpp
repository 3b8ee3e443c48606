#include "TAppDir.h"

#include "TWideText.h"

#include <cstdlib>
#include <shlobj.h>
#include <windows.h>

namespace {
std::string Forward(std::string path)
{
    for (char &c : path)
        if (c == '\\')
            c = '/';
    return path;
}

// "C:/...", "C:\..." or a UNC name; a rooted path without a drive is still relative to one.
bool IsAbsolute(const char *path)
{
    if (!path)
        return false;
    const auto sep = [](char c) { return c == '/' || c == '\\'; };
    if (sep(path[0]) && sep(path[1]))
        return true;
    return ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) && path[1] == ':' &&
           sep(path[2]);
}

std::string ExecutableDir()
{
    std::wstring buf(512, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, buf.data(), DWORD(buf.size()));
        if (n == 0)
            return std::string();
        if (n < buf.size()) {
            buf.resize(n);
            break;
        }
        buf.resize(buf.size() * 2); // truncated: a long path
    }
    const std::string path = Forward(TWideText::ToUtf8(buf));
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Access checks cannot answer for ACL inheritance, read-only media and virtualisation alike;
// a file that was really made can.
bool CanCreateFileIn(const std::string &dir)
{
    const std::string probe = dir + "hexcavator-" + std::to_string(::GetCurrentProcessId()) + ".probe";
    const HANDLE h = ::CreateFileW(TWideText::ToWide(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    ::CloseHandle(h);
    return true;
}

std::string EnvUtf8(const wchar_t *name)
{
    const wchar_t *v = ::_wgetenv(name);
    return v ? TWideText::ToUtf8(v) : std::string();
}

std::string RoamingKnownFolder()
{
    PWSTR path = nullptr;
    std::string out;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_CREATE, nullptr, &path)))
        out = Forward(TWideText::ToUtf8(path));
    ::CoTaskMemFree(path);
    return out;
}

// Each missing level; the profile's folders pass their ACL on to what is made inside.
void MakeDirs(const std::string &dir)
{
    for (size_t i = 3; i <= dir.size(); ++i)
        if (i == dir.size() || dir[i] == '/')
            ::CreateDirectoryW(TWideText::ToWide(dir.substr(0, i)).c_str(), nullptr);
}
} // namespace

std::string TAppDir::Choose(const std::string &exeDir, bool exeDirWritable, const char *configHome,
                            const char *home)
{
    if (!exeDir.empty() && exeDirWritable)
        return WithSlash(Forward(exeDir));
    if (IsAbsolute(configHome))
        return WithSlash(Forward(configHome)) + "hexcavator/";
    return WithSlash(Forward(home ? home : "")) + "AppData/Roaming/hexcavator/";
}

std::string TAppDir::SystemAppDir()
{
    const std::string exe = ExecutableDir();
    // Asked once: every settings file opened would otherwise make and delete a file there.
    static const bool writable = !exe.empty() && CanCreateFileIn(exe);
    std::string appData = EnvUtf8(L"APPDATA");
    if (!writable && !IsAbsolute(appData.c_str()))
        appData = RoamingKnownFolder();
    const std::string profile = EnvUtf8(L"USERPROFILE");
    std::string dir = Choose(exe, writable, appData.empty() ? nullptr : appData.c_str(),
                             profile.empty() ? nullptr : profile.c_str());
    if (dir != exe)
        MakeDirs(dir);
    return dir;
}
