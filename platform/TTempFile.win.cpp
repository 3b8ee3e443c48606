#include "TTempFile.h"

#include "TDirHandle.h"
#include "TFileFaults.h"
#include "TUserSid.h"
#include "TWideText.h"
#include "TWinError.h"

#include <cerrno>
#include <cstdio>
#include <system_error>
#include <windows.h>
// After windows.h, which they need.
#include <aclapi.h>
#include <ntsecapi.h>
#include <sddl.h>

namespace {
// Unnamed files do not exist here: every temporary file has a name, and the seam only
// remembers the wish.
bool gUnnamedAllowed = true;
std::string gFallbackDir; // empty: the system's own temporary folder

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Our temporary files are opened with delete access: they delete themselves (when closed, or
// marked for deletion until their rename), and holding that access is what marks them as
// in use for RemoveStale.
constexpr DWORD kTempAccess = GENERIC_READ | GENERIC_WRITE | DELETE;

bool IsSeparator(wchar_t c) { return c == L'/' || c == L'\\'; }

[[noreturn]] void FailIn(const std::string &dir) { TWinError::Throw(dir); }

// "S-1-5-21-...": one private folder per user, whatever the user's name is spelled like.
const std::string &UserName()
{
    static const std::string name = [] {
        const std::string sid = TWideText::ToUtf8(TUserSid::ToString(TUserSid::Own()));
        return sid.empty() ? std::string("user") : sid; // no token to ask: still one folder
    }();
    return name;
}

std::string FolderOf(const std::string &base) { return base + "/hexcavator-" + UserName(); }

bool IsFolder(const std::string &dir)
{
    const DWORD attrs = ::GetFileAttributesW(TWideText::ToWide(dir).c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY);
}

// The private folder, when it is ours alone: a real folder (no junction to elsewhere) owned
// by this user. Created with a protected list of permissions that lets only this user (and
// the system) in, which every file inside inherits; the usual temporary folder is private
// anyway, but %TMP% may name a shared one.
bool PrivateDirUsable(const std::string &dir, bool create)
{
    const std::wstring wide = TWideText::ToWide(dir);
    if (create) {
        // Owned by the user even when elevated (the owner would be the Administrators group).
        const std::wstring sid = TWideText::ToWide(UserName());
        const std::wstring sddl = L"O:" + sid + L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;" + sid + L")";
        SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, FALSE};
        const bool described =
            ::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &sa.lpSecurityDescriptor, nullptr);
        const bool made = ::CreateDirectoryW(wide.c_str(), described ? &sa : nullptr);
        const DWORD err = ::GetLastError();
        if (described)
            ::LocalFree(sa.lpSecurityDescriptor);
        if (!made && err != ERROR_ALREADY_EXISTS)
            return false;
    }
    HANDLE h = ::CreateFileW(wide.c_str(), READ_CONTROL | FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info;
    bool ours = ::GetFileInformationByHandle(h, &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                !(info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (ours && ::GetSecurityInfo(h, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                                  &sd) == ERROR_SUCCESS) {
        ours = TUserSid::IsOwn(owner);
        ::LocalFree(sd);
    } else {
        ours = false;
    }
    ::CloseHandle(h);
    return ours;
}

// Exclusive create under fresh random names (RandomName, or `label`.XXXXXXXX.orig); a taken
// name is just skipped.
HANDLE CreateRandomIn(const TDirHandle &dir, DWORD flags, std::string &path, const std::string &label = std::string())
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string random = TTempFile::RandomName();
        path = dir.PathOf(label.empty() ? random : label + "." + random.substr(0, 8) + ".orig");
        HANDLE h = ::CreateFileW(TWideText::ToWide(path).c_str(), kTempAccess, kShareAll, nullptr, CREATE_NEW, flags,
                                 nullptr);
        if (h != INVALID_HANDLE_VALUE)
            return h;
        const DWORD err = ::GetLastError();
        if (err != ERROR_FILE_EXISTS && err != ERROR_ALREADY_EXISTS)
            FailIn(dir.Path());
    }
    TWinError::Throw(ERROR_FILE_EXISTS, dir.Path());
}

// Marks the file to be deleted when its last handle closes, or takes the mark back.
bool MarkForDeletion(HANDLE h, bool deleteIt)
{
    FILE_DISPOSITION_INFO disposition{static_cast<BOOLEAN>(deleteIt)};
    return ::SetFileInformationByHandle(h, FileDispositionInfo, &disposition, sizeof disposition) != 0;
}

// A brief hold on the target by another program (a virus scanner, an indexer, a backup)
// refuses the replace; it is worth a few short waits before the save is reported failed.
bool Transient(DWORD err)
{
    return err == ERROR_SHARING_VIOLATION || err == ERROR_LOCK_VIOLATION || err == ERROR_ACCESS_DENIED ||
           err == ERROR_UNABLE_TO_REMOVE_REPLACED;
}

// Gives the file `from` the name `to`; the Windows error, or ERROR_SUCCESS.
DWORD GiveName(const std::wstring &from, const std::wstring &to)
{
    for (DWORD pause = 25;; pause *= 2) {
        const DWORD attrs = ::GetFileAttributesW(to.c_str());
        // Replacing an existing file hands on its permissions, attributes, alternate
        // streams and creation time; a link (or junction) in its place is replaced itself,
        // never followed.
        const bool replace =
            attrs != INVALID_FILE_ATTRIBUTES && !(attrs & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY));
        if (replace &&
            ::ReplaceFileW(to.c_str(), from.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
            return ERROR_SUCCESS;
        DWORD err = replace ? ::GetLastError() : ERROR_FILE_NOT_FOUND;
        // Nothing to replace (or gone meanwhile), or a replace that left the name empty: a
        // plain rename then gives the file its name.
        const bool nameFree = err == ERROR_FILE_NOT_FOUND || err == ERROR_UNABLE_TO_MOVE_REPLACEMENT ||
                              err == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2;
        if (!replace || (nameFree && ::GetFileAttributesW(to.c_str()) == INVALID_FILE_ATTRIBUTES)) {
            if (::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
                return ERROR_SUCCESS;
            err = ::GetLastError();
        }
        if (!Transient(err) || pause > 400)
            return err;
        ::Sleep(pause);
    }
}

// The file under its (new) name again, with as much access as it grants: only its identity
// and its bytes are asked of it from now on.
HANDLE OpenAgain(const std::wstring &path)
{
    for (DWORD access : {kTempAccess, DWORD(GENERIC_READ | GENERIC_WRITE), DWORD(GENERIC_READ), DWORD(FILE_READ_ATTRIBUTES)}) {
        HANDLE h = ::CreateFileW(path.c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (h != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_ACCESS_DENIED)
            return h;
    }
    return INVALID_HANDLE_VALUE;
}

TTempFile CreateInFolder(const std::string &dir)
{
    const std::string priv = FolderOf(dir);
    const std::string home = PrivateDirUsable(priv, true) ? priv : dir;
    TDirHandle folder = TDirHandle::Open(home);
    std::string path;
    // Deleted by the system when the last handle closes, however the process ends; the
    // temporary attribute keeps the bytes in the cache where memory allows.
    HANDLE h = CreateRandomIn(folder, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, path);
    return TTempFile::Adopt(TFileHandle(h, std::string()), path);
}
} // namespace

namespace {
// The folder a test chose, else the Temp folder of the Windows folder.
std::string FallbackDir()
{
    if (!gFallbackDir.empty())
        return gFallbackDir;
    wchar_t windows[MAX_PATH + 1];
    const UINT n = ::GetWindowsDirectoryW(windows, MAX_PATH + 1);
    return TWideText::ToUtf8(std::wstring(windows, n > 0 && n <= MAX_PATH ? n : 0)) + "\\Temp";
}
} // namespace

std::string TTempFile::TempDir()
{
    wchar_t buf[MAX_PATH + 2];
    const DWORD n = ::GetTempPathW(MAX_PATH + 2, buf);
    std::wstring dir(buf, n > 0 && n < MAX_PATH + 2 ? n : 0);
    // "C:\\" stays a root; any other folder loses its trailing separator.
    while (dir.size() > 1 && IsSeparator(dir.back()) && !(dir.size() == 3 && dir[1] == L':'))
        dir.pop_back();
    const std::string utf8 = TWideText::ToUtf8(dir);
    return !utf8.empty() && IsFolder(utf8) ? utf8 : FallbackDir();
}

std::string TTempFile::RandomName()
{
    uint32_t r = 0;
    if (!::RtlGenRandom(&r, sizeof r)) {
        // Still unlikely to guess, and creation is exclusive.
        r = ::GetTickCount() ^ (::GetCurrentProcessId() << 16);
    }
    char name[16];
    std::snprintf(name, sizeof name, "%08X.tmp", static_cast<unsigned>(r));
    return name;
}

std::string TTempFile::PrivateDir() { return FolderOf(TempDir()); }

void TTempFile::SetUnnamedAllowed(bool allowed) { gUnnamedAllowed = allowed; }
void TTempFile::SetFallbackDir(const std::string &dir) { gFallbackDir = dir; }

TTempFile TTempFile::Create()
{
    const std::string dir = TempDir();
    try {
        return CreateInFolder(dir);
    } catch (const std::system_error &) {
        // %TMP% looked usable but took no file: the fallback folder may.
        const std::string fallback = FallbackDir();
        if (dir == fallback)
            throw;
        return CreateInFolder(fallback);
    }
}

TTempFile TTempFile::Adopt(TFileHandle &&handle, const std::string &name)
{
    TTempFile t;
    t.FHandle = std::move(handle);
    t.FName = name;
    return t;
}

TTempFile TTempFile::CreateIn(const TDirHandle &dir, mode_t)
{
    TTempFile t;
    std::string path;
    HANDLE h = CreateRandomIn(dir, FILE_ATTRIBUTE_NORMAL, path);
    // Marked for deletion until LinkAs takes the mark back, so that a crash leaves nothing
    // beside the user's file; where the mark cannot be set the destructor deletes it.
    MarkForDeletion(h, true);
    t.FName = path;
    t.FHandle = TFileHandle(h, std::string());
    return t;
}

TTempFile TTempFile::CreateNamed(const std::string &dir)
{
    TDirHandle folder = TDirHandle::Open(dir);
    std::string path;
    HANDLE h = CreateRandomIn(folder, FILE_ATTRIBUTE_NORMAL, path);
    TTempFile t;
    t.FName = path;
    t.FHandle = TFileHandle(h, path);
    return t;
}

TTempFile TTempFile::CreateKeepsake(const std::string &label)
{
    const std::string priv = PrivateDir();
    const std::string home = PrivateDirUsable(priv, true) ? priv : TempDir();
    TDirHandle folder = TDirHandle::Open(home);
    std::string path;
    HANDLE h = CreateRandomIn(folder, FILE_ATTRIBUTE_NORMAL, path, label);
    return Adopt(TFileHandle(h, path), path);
}

size_t TTempFile::RemoveStale()
{
    const std::string priv = PrivateDir();
    if (!PrivateDirUsable(priv, false))
        return 0;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(TWideText::ToWide(priv + "/*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    size_t removed = 0;
    do {
        const std::wstring name = found.cFileName;
        // The pattern also matches through short names: the long name must end in ".tmp".
        if ((found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) || name.size() < 4 ||
            name.compare(name.size() - 4, 4, L".tmp") != 0)
            continue;
        // A running owner holds its file with delete access: opening it without sharing
        // deletion then fails, so only the files of dead instances open here, and they go
        // when this handle closes.
        const std::wstring path = TWideText::ToWide(priv) + L"\\" + name;
        HANDLE h = ::CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            ::CloseHandle(h);
            ++removed;
        }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return removed;
}

// Unnamed files, which wait under this name on other systems, do not exist here.
std::string TTempFile::PendingName(const std::string &name) { return "." + name + ".hxnew"; }

void TTempFile::LinkAs(const TDirHandle &dir, const std::string &name)
{
    const std::string target = dir.PathOf(name);
    if (FName.empty() || !FHandle.IsOpen())
        TWinError::Throw(ERROR_INVALID_PARAMETER, target);
    // The replace is a step of the save for the fault seam.
    TFileFaults::BeforeWrite(dir.Fd());
    // A file marked for deletion cannot take a name that lasts.
    if (!MarkForDeletion(FHandle.Fd(), false))
        FailIn(target);
    // ReplaceFileW must open the new file itself without our handle in its way; the handle
    // is opened again, on the file's new name, when it is done.
    const std::string label = FHandle.Path();
    FHandle.Close();
    const DWORD err = GiveName(TWideText::ToWide(FName), TWideText::ToWide(target));
    const bool done = err == ERROR_SUCCESS;
    HANDLE h = OpenAgain(TWideText::ToWide(done ? target : FName));
    if (h != INVALID_HANDLE_VALUE)
        FHandle = TFileHandle(h, label);
    if (!done) {
        // Still the temporary file, under its temporary name, and marked again (or gone
        // already where it could not be opened again to carry the mark).
        if (!FHandle.IsOpen() || !MarkForDeletion(FHandle.Fd(), true))
            ::DeleteFileW(TWideText::ToWide(FName).c_str());
        if (!FHandle.IsOpen())
            FName.clear();
        TWinError::Throw(err, target);
    }
    FName = target;
    FKeep = true;
    if (!FHandle.IsOpen())
        FailIn(target);
}

TTempFile::~TTempFile()
{
    if (!FKeep)
        Remove();
}

TTempFile::TTempFile(TTempFile &&other) noexcept
    : FHandle(std::move(other.FHandle)), FName(std::move(other.FName)), FKeep(other.FKeep)
{
    other.FKeep = true;
    other.FName.clear();
}

TTempFile &TTempFile::operator=(TTempFile &&other) noexcept
{
    if (this != &other) {
        if (!FKeep)
            Remove();
        FHandle = std::move(other.FHandle);
        FName = std::move(other.FName);
        FKeep = other.FKeep;
        other.FKeep = true;
        other.FName.clear();
    }
    return *this;
}

void TTempFile::Remove()
{
    // Deleted through the handle, so it is this very file whatever its name leads to now;
    // by name only where the handle may not delete.
    if (!FName.empty() && FHandle.IsOpen()) {
        const bool marked = MarkForDeletion(FHandle.Fd(), true);
        FHandle.Close();
        if (!marked)
            ::DeleteFileW(TWideText::ToWide(FName).c_str());
    }
    FHandle.Close();
    FName.clear();
}
