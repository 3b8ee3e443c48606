#include "TPrivateFolder.h"

#include "TUserSid.h"
#include "TWideText.h"
#include "TWinError.h"

#include <cerrno>
#include <map>
#include <mutex>
#include <system_error>
// <windows.h> first: the other system headers build on it.
#include <windows.h>

#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>

namespace {
// FILETIME counts 100 ns steps from 1601; the stamps count nanoseconds from 1970.
constexpr int64_t kEpochSteps = 116444736000000000LL;

[[noreturn]] void Refuse(int err, const std::string &path, const std::string &why)
{
    throw std::system_error(err, std::generic_category(), path + ": " + why);
}

std::wstring Wide(const std::string &path) { return TWideText::ToWide(path); }

std::string Forward(std::string path)
{
    for (char &c : path)
        if (c == '\\')
            c = '/';
    return path;
}

bool IsAbsolute(const std::wstring &path)
{
    const auto sep = [](wchar_t c) { return c == L'/' || c == L'\\'; };
    return (path.size() >= 2 && sep(path[0]) && sep(path[1])) ||
           (path.size() >= 3 && path[1] == L':' && sep(path[2]));
}

bool EndsWith(const std::string &s, const std::string &suffix)
{
    return s.size() > suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

int64_t ToNs(const FILETIME &ft)
{
    const int64_t steps = int64_t((uint64_t(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
    return (steps - kEpochSteps) * 100;
}

// The accounts that may enter any folder of the profile anyway, and the owner's stand-ins
// (a file made inside gets its creator, that is one of the others, in their place).
bool IsTrustedBesidesUser(PSID sid)
{
    for (WELL_KNOWN_SID_TYPE type :
         {WinLocalSystemSid, WinBuiltinAdministratorsSid, WinCreatorOwnerSid, WinCreatorOwnerRightsSid}) {
        BYTE buf[SECURITY_MAX_SID_SIZE];
        DWORD size = sizeof buf;
        if (::CreateWellKnownSid(type, nullptr, buf, &size) && ::EqualSid(sid, buf))
            return true;
    }
    return false;
}

// This user, SYSTEM and the administrators, inherited by everything inside, nothing from
// above: the profile's own rule, written out so that it holds wherever the folder is.
PSECURITY_DESCRIPTOR PrivateDescriptor()
{
    const std::wstring sid = TUserSid::ToString(TUserSid::Own());
    if (sid.empty())
        return nullptr;
    const std::wstring sddl = L"O:" + sid + L"D:P(A;OICI;FA;;;" + sid + L")(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &sd, nullptr))
        return nullptr;
    return sd;
}

// Why the folder open as `dir` is not private, or "" when it is.
std::string WhyNotPrivate(HANDLE dir)
{
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR sd = nullptr;
    const DWORD rc = ::GetSecurityInfo(dir, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                       &owner, nullptr, &dacl, nullptr, &sd);
    if (rc != ERROR_SUCCESS)
        return "cannot read its security (error " + std::to_string(rc) + ")";
    std::string why;
    if (!TUserSid::IsOwn(owner)) {
        LPWSTR text = nullptr;
        std::string who = "another account";
        if (owner && ::ConvertSidToStringSidW(owner, &text))
            who = TWideText::ToUtf8(text);
        ::LocalFree(text);
        why = "belongs to " + who + ", not to this user";
    } else if (!dacl) {
        why = "open to everyone (no access list)";
    }
    for (DWORD i = 0; why.empty() && dacl && i < dacl->AceCount; ++i) {
        void *ace = nullptr;
        if (!::GetAce(dacl, i, &ace))
            break;
        const auto *header = static_cast<const ACE_HEADER *>(ace);
        if (header->AceType == ACCESS_DENIED_ACE_TYPE)
            continue;
        PSID who = header->AceType == ACCESS_ALLOWED_ACE_TYPE ? &static_cast<ACCESS_ALLOWED_ACE *>(ace)->SidStart
                                                              : nullptr;
        if (!who || !(TUserSid::IsOwn(who) || IsTrustedBesidesUser(who))) {
            LPWSTR text = nullptr;
            std::string whom = "an entry of another kind";
            if (who && ::ConvertSidToStringSidW(who, &text))
                whom = TWideText::ToUtf8(text);
            ::LocalFree(text);
            why = "open to others (" + whom + ")";
        }
    }
    ::LocalFree(sd);
    return why;
}

// The instances' marker handles of this process, by path.
std::mutex gMarkersLock;
std::map<std::string, HANDLE> &Markers()
{
    static std::map<std::string, HANDLE> markers;
    return markers;
}
} // namespace

std::string TPrivateFolder::Locate(const std::string &leaf)
{
    std::wstring base;
    if (const wchar_t *env = ::_wgetenv(L"LOCALAPPDATA"))
        base = env;
    if (!IsAbsolute(base)) {
        base.clear();
        PWSTR known = nullptr;
        if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &known)))
            base = known;
        ::CoTaskMemFree(known);
    }
    std::string out = Forward(TWideText::ToUtf8(base));
    while (!out.empty() && out.back() == '/')
        out.pop_back();
    return out + "/" + leaf + "/instances";
}

void TPrivateFolder::Ensure(const std::string &path)
{
    const std::string p = Forward(path);
    // The levels above: inherited from the profile, like any folder an application makes.
    for (size_t i = p.find('/', 3); i != std::string::npos; i = p.find('/', i + 1))
        ::CreateDirectoryW(Wide(p.substr(0, i)).c_str(), nullptr);
    PSECURITY_DESCRIPTOR sd = PrivateDescriptor();
    SECURITY_ATTRIBUTES sa = {sizeof sa, sd, FALSE};
    const BOOL made = ::CreateDirectoryW(Wide(p).c_str(), sd ? &sa : nullptr);
    const DWORD err = ::GetLastError();
    ::LocalFree(sd);
    if (!made && err != ERROR_ALREADY_EXISTS)
        Refuse(TWinError::ToErrno(err), path, "cannot create the folder");

    // The folder itself, not what a planted junction or link would lead to.
    const HANDLE dir = ::CreateFileW(Wide(p).c_str(), READ_CONTROL | FILE_READ_ATTRIBUTES,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (dir == INVALID_HANDLE_VALUE)
        Refuse(TWinError::ToErrno(::GetLastError()), path, "cannot examine the folder");
    BY_HANDLE_FILE_INFORMATION info = {};
    const bool examined = ::GetFileInformationByHandle(dir, &info);
    const std::string why = examined ? WhyNotPrivate(dir) : std::string();
    ::CloseHandle(dir);
    if (!examined)
        Refuse(EIO, path, "cannot examine the folder");
    if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        Refuse(ENOTDIR, path, "not a folder");
    if (!why.empty())
        Refuse(EACCES, path, why);
}

std::vector<TPrivateFolder::TEntry> TPrivateFolder::Sockets(const std::string &path, const std::string &suffix)
{
    std::vector<TEntry> out;
    WIN32_FIND_DATAW found;
    const HANDLE find = ::FindFirstFileExW(Wide(path + "/*").c_str(), FindExInfoBasic, &found,
                                           FindExSearchNameMatch, nullptr, 0);
    if (find == INVALID_HANDLE_VALUE)
        return out;
    do {
        const std::string name = TWideText::ToUtf8(found.cFileName);
        if (!EndsWith(name, suffix) ||
            (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
            continue;
        // The listing's times may lag behind a handle's changes; the file's own do not.
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!::GetFileAttributesExW(Wide(path + "/" + name).c_str(), GetFileExInfoStandard, &data))
            continue;
        out.push_back({name, ToNs(data.ftLastWriteTime)});
    } while (::FindNextFileW(find, &found));
    ::FindClose(find);
    return out;
}

bool TPrivateFolder::SetStamp(const std::string &path, int64_t stampNs)
{
    // Rounded up: truncating would let a stamp meant to come after another equal it.
    const int64_t steps = (stampNs >= 0 ? (stampNs + 99) / 100 : stampNs / 100) + kEpochSteps;
    const FILETIME ft = {DWORD(uint64_t(steps) & 0xffffffffu), DWORD(uint64_t(steps) >> 32)};
    const HANDLE h = ::CreateFileW(Wide(path).c_str(), FILE_WRITE_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    const bool ok = ::SetFileTime(h, nullptr, nullptr, &ft);
    ::CloseHandle(h);
    return ok;
}

bool TPrivateFolder::Remove(const std::string &path) { return ::DeleteFileW(Wide(path).c_str()); }

int64_t TPrivateFolder::NowNs()
{
    FILETIME ft;
    ::GetSystemTimePreciseAsFileTime(&ft);
    return ToNs(ft);
}

bool TPrivateFolder::Announce(const std::string &path)
{
    // New, never an existing file; deleted by the system when the last handle closes (this
    // process's end included); no FILE_SHARE_DELETE, so nobody deletes or renames it meanwhile.
    const HANDLE h = ::CreateFileW(Wide(path).c_str(), DELETE | FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    std::lock_guard<std::mutex> lock(gMarkersLock);
    HANDLE &slot = Markers()[path];
    if (slot)
        ::CloseHandle(slot);
    slot = h;
    return true;
}

void TPrivateFolder::Withdraw(const std::string &path)
{
    std::lock_guard<std::mutex> lock(gMarkersLock);
    const auto it = Markers().find(path);
    if (it == Markers().end())
        return;
    ::CloseHandle(it->second);
    Markers().erase(it);
}

bool TPrivateFolder::EndpointsOutsideFolder() { return true; }
