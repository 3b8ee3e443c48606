// The desktop's services on Windows: the context-menu verb written to and removed from the
// user's registry, shell shortcuts and short names turned into the files they stand for, and
// the folder of the settings file.

#include "TAppDir.h"
#include "TDesktopIntegration.h"
#include "TShellPaths.h"
#include "TWideText.h"
#include "TestSupport.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
// <windows.h> first: the other system headers build on it.
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace {
std::string Forward(std::string path)
{
    for (char &c : path)
        if (c == '\\')
            c = '/';
    return path;
}

std::wstring Backward(const std::string &path)
{
    std::wstring wide = TWideText::ToWide(path);
    for (wchar_t &c : wide)
        if (c == L'/')
            c = L'\\';
    return wide;
}

// A value of a key under HKEY_CURRENT_USER; "(none)" when it is not there.
std::wstring Value(const wchar_t *key, const wchar_t *name)
{
    wchar_t buf[1024];
    DWORD size = sizeof buf;
    if (::RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, buf, &size) != ERROR_SUCCESS)
        return L"(none)";
    return buf;
}

// HKEY_CURRENT_USER of this process is a scratch key while it lives, so the user's own
// context menu is never touched.
struct ScratchUserKey {
    std::wstring Name = L"Software\\HexcavatorTest-" + std::to_wstring(::GetCurrentProcessId());
    HKEY Key = nullptr;
    bool Active = false;
    ScratchUserKey()
    {
        if (::RegCreateKeyExW(HKEY_CURRENT_USER, Name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &Key,
                              nullptr) == ERROR_SUCCESS)
            Active = ::RegOverridePredefKey(HKEY_CURRENT_USER, Key) == ERROR_SUCCESS;
    }
    ~ScratchUserKey()
    {
        ::RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        if (Key)
            ::RegCloseKey(Key);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, Name.c_str());
        ::RegDeleteKeyW(HKEY_CURRENT_USER, Name.c_str());
    }
};

const wchar_t *const kVerb = L"Software\\Classes\\*\\shell\\hexcavator";
const wchar_t *const kCommand = L"Software\\Classes\\*\\shell\\hexcavator\\command";

// A shell shortcut at `lnk` to `target`, made the way Explorer makes them.
bool MakeShortcut(const std::string &lnk, const std::string &target)
{
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bool ok = false;
    IShellLinkW *link = nullptr;
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                     reinterpret_cast<void **>(&link)))) {
        IPersistFile *file = nullptr;
        if (SUCCEEDED(link->SetPath(Backward(target).c_str())) &&
            SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file)))) {
            ok = SUCCEEDED(file->Save(Backward(lnk).c_str(), TRUE));
            file->Release();
        }
        link->Release();
    }
    ::CoUninitialize();
    return ok;
}

void Touch(const std::string &path) { std::ofstream(std::filesystem::u8path(path)) << "x"; }
} // namespace

TEST(WindowsDesktopIntegrationTest, VerbIsWrittenAfreshForEveryFileAndRemovedWhole)
{
    ScratchUserKey scratch;
    ASSERT_TRUE(scratch.Active) << "HKEY_CURRENT_USER cannot be redirected here";
    const std::wstring menu = TWideText::ToWide(TDesktopIntegration::kMenuText);

    EXPECT_FALSE(TDesktopIntegration::IsRegistered());
    TDesktopIntegration::Register("C:/Program Files/ヘックス cavator/hexcavator.exe");
    EXPECT_TRUE(TDesktopIntegration::IsRegistered());
    EXPECT_EQ(Value(kVerb, nullptr), menu);
    EXPECT_EQ(Value(kVerb, L"MUIVerb"), menu);
    // Quoted twice: the program's path holds blanks, and so may the chosen file's.
    EXPECT_EQ(Value(kCommand, nullptr), L"\"C:\\Program Files\\ヘックス cavator\\hexcavator.exe\" \"%1\"");

    // Edited by hand, then registered again: as written the first time, nothing left over.
    HKEY verb = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, kVerb, 0, KEY_SET_VALUE, &verb), ERROR_SUCCESS);
    ::RegDeleteValueW(verb, L"MUIVerb");
    ::RegSetValueExW(verb, L"Extended", 0, REG_SZ, reinterpret_cast<const BYTE *>(L""), sizeof(wchar_t));
    ::RegCloseKey(verb);
    ::RegSetValueW(HKEY_CURRENT_USER, kCommand, REG_SZ, L"notepad", 0);
    TDesktopIntegration::Register("D:/hx/hexcavator.exe");
    EXPECT_EQ(Value(kVerb, L"MUIVerb"), menu);
    EXPECT_EQ(Value(kVerb, L"Extended"), L"(none)") << "a verb marked extended would hide behind Shift";
    EXPECT_EQ(Value(kCommand, nullptr), L"\"D:\\hx\\hexcavator.exe\" \"%1\"");

    TDesktopIntegration::Unregister();
    EXPECT_FALSE(TDesktopIntegration::IsRegistered());
    HKEY gone = nullptr;
    EXPECT_NE(::RegOpenKeyExW(HKEY_CURRENT_USER, kVerb, 0, KEY_READ, &gone), ERROR_SUCCESS) << "the whole tree goes";
    if (gone)
        ::RegCloseKey(gone);
}

TEST(WindowsShellPathsTest, ShortcutsAndShortNamesGiveTheFileAsStored)
{
    TScratchDir dir;
    const std::string target = Forward(dir.File("対象 ファイル.bin"));
    Touch(target);
    const std::string lnk = dir.File("リンク.LNK");
    ASSERT_TRUE(MakeShortcut(lnk, target));
    EXPECT_EQ(TShellPaths::ResolveShortcut(lnk), target);

    // Not a shortcut inside, though named like one: the file itself, to be seen as bytes.
    const std::string fake = dir.File("plain.lnk");
    Touch(fake);
    EXPECT_EQ(TShellPaths::ResolveShortcut(fake), fake);
    EXPECT_EQ(TShellPaths::ResolveShortcut(target), target);

    // The 8.3 name and a path through ".." come back long and absolute.
    wchar_t shortName[MAX_PATH];
    const DWORD n = ::GetShortPathNameW(Backward(target).c_str(), shortName, MAX_PATH);
    ASSERT_GT(n, 0u);
    const std::string shortPath = TWideText::ToUtf8(shortName);
    EXPECT_NE(Forward(shortPath), target) << "the system made no short name";
    EXPECT_EQ(TShellPaths::ExpandLongPath(shortPath), target);
    EXPECT_EQ(TShellPaths::ExpandLongPath(Forward(dir.Path()) + "/sub/../対象 ファイル.bin"), target);
    const std::string missing = dir.File("nothing/here.bin");
    EXPECT_EQ(TShellPaths::ExpandLongPath(missing), missing);
}

TEST(WindowsAppDirTest, ExecutableFolderWhenWritableElseTheRoamingApplicationData)
{
    EXPECT_EQ(TAppDir::Choose("C:\\Tools\\hx\\", true, "C:\\Users\\u\\AppData\\Roaming", "C:\\Users\\u"),
              "C:/Tools/hx/");
    EXPECT_EQ(TAppDir::Choose("C:/Program Files/hx/", false, "C:\\Users\\u\\AppData\\Roaming", "C:\\Users\\u"),
              "C:/Users/u/AppData/Roaming/hexcavator/");
    EXPECT_EQ(TAppDir::Choose("C:/Program Files/hx/", false, "relative", "C:\\Users\\u"),
              "C:/Users/u/AppData/Roaming/hexcavator/");
    EXPECT_EQ(TAppDir::Choose("C:/Program Files/hx/", false, "\\\\server\\home\\u", nullptr),
              "//server/home/u/hexcavator/");

    // Here the test's own folder is writable: the settings file goes beside the program.
    wchar_t exe[MAX_PATH];
    ASSERT_GT(::GetModuleFileNameW(nullptr, exe, MAX_PATH), 0u);
    const std::string exeDir = Forward(TWideText::ToUtf8(exe));
    EXPECT_EQ(TAppDir::GetAppDir(), exeDir.substr(0, exeDir.rfind('/') + 1));
    EXPECT_EQ(TAppDir::GetAppDir().find('\\'), std::string::npos);
}
