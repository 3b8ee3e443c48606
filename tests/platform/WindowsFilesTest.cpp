// What Windows does for the program's files and no other system does: temporary files that
// go with a killed process, a save that keeps the target's attributes and streams, the
// settings lock between processes, a folder that cannot be renamed under a save, Japanese
// names, and paths with drive letters and backslashes.
//
// Crashes run in a child process: this test program started again on one of the disabled
// WindowsChild tests, which reads its orders from the environment.

#include "TDirHandle.h"
#include "TFileFaults.h"
#include "TFilePaths.h"
#include "TIniFile.h"
#include "TLockFile.h"
#include "TTempFile.h"
#include "TWideText.h"
#include "TestSupport.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <system_error>
#include <windows.h>

namespace {
constexpr DWORD kKilled = 77;
const wchar_t *const kOrders = L"HEXCAVATOR_TEST_CHILD";

bool UnderWine() { return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

std::string Orders()
{
    wchar_t buf[4096];
    const DWORD n = ::GetEnvironmentVariableW(kOrders, buf, 4096);
    return n > 0 && n < 4096 ? TWideText::ToUtf8(buf, n) : std::string();
}

// This program, started on the child test `name` with `orders`; killed on destruction.
class TChild {
public:
    TChild(const std::string &name, const std::string &orders)
    {
        wchar_t self[MAX_PATH];
        ::GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring line = L"\"" + std::wstring(self) + L"\" --gtest_also_run_disabled_tests --gtest_filter=" +
                            TWideText::ToWide("WindowsChild.DISABLED_" + name);
        ::SetEnvironmentVariableW(kOrders, TWideText::ToWide(orders).c_str());
        STARTUPINFOW si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES; // quiet: no inherited output
        if (::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &FInfo))
            ::CloseHandle(FInfo.hThread);
        ::SetEnvironmentVariableW(kOrders, nullptr);
    }
    ~TChild()
    {
        if (FInfo.hProcess) {
            ::TerminateProcess(FInfo.hProcess, 1);
            ::WaitForSingleObject(FInfo.hProcess, INFINITE);
            ::CloseHandle(FInfo.hProcess);
        }
    }
    bool Started() const { return FInfo.hProcess != nullptr; }
    DWORD Wait()
    {
        DWORD code = 0;
        ::WaitForSingleObject(FInfo.hProcess, 60000);
        ::GetExitCodeProcess(FInfo.hProcess, &code);
        return code;
    }
    void Kill()
    {
        ::TerminateProcess(FInfo.hProcess, kKilled);
        ::WaitForSingleObject(FInfo.hProcess, INFINITE);
    }

private:
    PROCESS_INFORMATION FInfo{};
};

bool AppearsWithin(const std::string &path, DWORD ms)
{
    for (DWORD waited = 0; waited < ms; waited += 20) {
        if (PathExists(path))
            return true;
        ::Sleep(20);
    }
    return false;
}

// The edit the save tests make: a block in the middle, so that the file is written anew.
std::vector<uint8_t> Edited(std::vector<uint8_t> bytes)
{
    const auto block = Pattern(5000, 9);
    bytes.insert(bytes.begin() + 1000, block.begin(), block.end());
    return bytes;
}

void Edit(TVxDocument &doc)
{
    const auto block = Pattern(5000, 9);
    doc.InsertBlock(1000, block.data(), int32_t(block.size()), true, false);
}
} // namespace

// ---------------------------------------------------------------------------------------
// The children

TEST(WindowsChild, DISABLED_SaveKilledAtWrite)
{
    // Orders: the file, then the write at which the process dies as if killed.
    const std::string orders = Orders();
    const size_t bar = orders.find('|');
    ASSERT_NE(bar, std::string::npos);
    const std::string file = orders.substr(0, bar);
    TVxDocument doc;
    doc.LoadFromFile(file);
    Edit(doc);
    doc.SaveBackup = true;
    doc.SaveBackupCount = 1;
    TFileFaults::CallAtNthWrite(std::stoi(orders.substr(bar + 1)), [] { ::TerminateProcess(::GetCurrentProcess(), kKilled); });
    ASSERT_TRUE(doc.SaveToFile(file, true)) << doc.LastWriteError();
}

TEST(WindowsChild, DISABLED_HoldSettingsLock)
{
    const std::string dir = Orders();
    TDirHandle folder = TDirHandle::Open(dir);
    TLockFile lock = TLockFile::Acquire(folder, "Hexcavat.ini.lock", 0600, 5000);
    ASSERT_TRUE(lock.IsHeld());
    WriteFileBytes(dir + "/held", {});
    ::Sleep(INFINITE);
}

// ---------------------------------------------------------------------------------------

TEST(WindowsFilesTest, AKilledSaveLeavesTheTargetWholeAndNoFileAnywhere)
{
    TScratchDir dir;
    TPrivateTempDir tmp;
    const std::string file = dir.File("data.bin");
    const auto original = Pattern(300000, 3);
    int kills = 0;
    for (int n = 1;; ++n) {
        ASSERT_LT(n, 100) << "the save never completed";
        WriteFileBytes(file, original);
        TChild child("SaveKilledAtWrite", file + "|" + std::to_string(n));
        ASSERT_TRUE(child.Started());
        const DWORD code = child.Wait();
        ASSERT_TRUE(code == kKilled || code == 0) << "write " << n << ": exit code " << code;
        kills += code == kKilled;
        const auto now = ReadFileBytes(file);
        EXPECT_TRUE(now == original || now == Edited(original)) << "write " << n;
        // The working copy and the save's new file went with the process.
        EXPECT_EQ(tmp.FileCount(), 0u) << "write " << n;
        const auto names = NamesIn(dir.Path());
        EXPECT_TRUE(names == std::vector<std::string>{"data.bin"} ||
                    names == (std::vector<std::string>{"data.001.bin", "data.bin"}))
            << "write " << n << ": " << names.size() << " names";
        RemovePath(dir.File("data.001.bin"));
        if (code == 0) {
            EXPECT_EQ(now, Edited(original));
            break;
        }
    }
    EXPECT_GT(kills, 2) << "the save was never cut short";
}

TEST(WindowsFilesTest, ASaveKeepsTheTargetsAttributesAndStreams)
{
    TScratchDir dir;
    const std::string file = dir.File("image.bin");
    const auto original = Pattern(20000, 5);
    WriteFileBytes(file, original);
    const std::wstring wide = TWideText::ToWide(file);
    // Wine keeps no alternate streams: a name with a colon would be a file of its own.
    const bool streams = !UnderWine();
    if (streams)
        WriteFileBytes(file + ":origin", {'c', 'a', 'm'});
    ASSERT_TRUE(::SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_HIDDEN));
    const uint64_t before = FileNumber(file);

    TVxDocument doc;
    doc.LoadFromFile(file);
    Edit(doc);
    ASSERT_TRUE(doc.SaveToFile(file, true)) << doc.LastWriteError();
    EXPECT_EQ(ReadFileBytes(file), Edited(original));
    EXPECT_NE(FileNumber(file), before) << "written anew, not in place";
    EXPECT_EQ(NamesIn(dir.Path()), std::vector<std::string>{"image.bin"});
    if (UnderWine())
        GTEST_SKIP() << "Wine's ReplaceFileW hands on neither attributes nor streams";
    EXPECT_TRUE(::GetFileAttributesW(wide.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    if (streams) {
        EXPECT_EQ(ReadFileBytes(file + ":origin"), (std::vector<uint8_t>{'c', 'a', 'm'}));
    }
}

TEST(WindowsFilesTest, TheSettingsLockExcludesAnotherProcessUntilItDies)
{
    TScratchDir dir;
    const std::string ini = dir.File("Hexcavat.ini");
    {
        TIniFile first(ini);
        first.WriteString("A", "k", "old");
        ASSERT_TRUE(first.UpdateFile());
    }
    TChild holder("HoldSettingsLock", dir.Path());
    ASSERT_TRUE(holder.Started());
    ASSERT_TRUE(AppearsWithin(dir.File("held"), 30000)) << "the other process never took the lock";

    TDirHandle folder = TDirHandle::Open(dir.Path());
    try {
        TLockFile::Acquire(folder, "Hexcavat.ini.lock", 0600, 50);
        ADD_FAILURE() << "locked by two processes";
    } catch (const std::system_error &e) {
        EXPECT_EQ(e.code().value(), ETIMEDOUT);
    }
    TIniFile::SetLockWait(100);
    TIniFile ini2(ini);
    ini2.WriteString("A", "k", "new");
    EXPECT_FALSE(ini2.UpdateFile());
    EXPECT_EQ(TIniFile(ini).ReadString("A", "k", ""), "old");

    // A holder that dies lets go, and leaves its file to the next holder to remove.
    // (The system may take a moment to drop the dead process's locks.)
    holder.Kill();
    TIniFile::SetLockWait(5000);
    EXPECT_TRUE(ini2.UpdateFile());
    EXPECT_EQ(TIniFile(ini).ReadString("A", "k", ""), "new");
    EXPECT_EQ(NamesIn(dir.Path()), (std::vector<std::string>{"Hexcavat.ini", "held"}));
}

TEST(WindowsFilesTest, JapaneseNamesOpenSaveAndBackUp)
{
    TScratchDir dir;
    TPrivateTempDir tmp;
    TNamedTempFiles named;
    const std::string folder = dir.File("データ");
    MakeFolder(folder);
    // Backslashes as a Windows user types them; the names as UTF-8 as everywhere else.
    const std::string file = folder + "\\日本語.bin";
    const auto original = Pattern(30000, 7);
    WriteFileBytes(file, original);
    TVxDocument doc;
    ASSERT_TRUE(doc.LoadFromFile(file));
    EXPECT_EQ(DocBytes(doc), original);
    Edit(doc);
    doc.SaveBackup = true;
    doc.SaveBackupCount = 2;
    ASSERT_TRUE(doc.SaveToFile(file, true)) << doc.LastWriteError();
    EXPECT_EQ(NamesIn(folder), (std::vector<std::string>{"日本語.001.bin", "日本語.bin"}));
    EXPECT_EQ(ReadFileBytes(folder + "/日本語.001.bin"), original);

    // A second name makes the next save write in place, through a keepsake named after the
    // file in the private folder.
    MakeHardLink(file, folder + "/別名.bin");
    doc.OverwriteByte(0, 0xEE, false);
    doc.SaveBackup = false;
    ASSERT_TRUE(doc.SaveToFile(file, true)) << doc.LastWriteError();
    auto wanted = Edited(original);
    wanted[0] = 0xEE;
    EXPECT_EQ(ReadFileBytes(folder + "/別名.bin"), wanted);
    EXPECT_EQ(tmp.FileCount(), 1u) << "only the working copy; the keepsake is gone";

    TVxDocument again;
    ASSERT_TRUE(again.LoadFromFile(folder + "/日本語.bin"));
    EXPECT_EQ(DocBytes(again), wanted);
}

TEST(WindowsFilesTest, PathsSplitAtBothSeparatorsAndKeepTheirRoots)
{
    const struct {
        const char *path, *dir, *base;
    } cases[] = {
        {"C:\\data\\a.bin", "C:\\data", "a.bin"},   {"C:/data/a.bin", "C:/data", "a.bin"},
        {"C:\\a.bin", "C:\\", "a.bin"},             {"C:/a.bin", "C:/", "a.bin"},
        {"\\\\server\\share\\a.bin", "\\\\server\\share\\", "a.bin"},
        {"C:\\data/sub\\a.bin", "C:\\data/sub", "a.bin"}, {"a.bin", ".", "a.bin"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(TFilePaths::DirName(c.path), c.dir) << c.path;
        EXPECT_EQ(TFilePaths::BaseName(c.path), c.base) << c.path;
    }
    // The root is the folder that opens, not the drive's current folder.
    wchar_t windows[MAX_PATH];
    ASSERT_GT(::GetWindowsDirectoryW(windows, MAX_PATH), 2u);
    const std::string drive = TWideText::ToUtf8(std::wstring(windows, 2)) + "\\";
    EXPECT_NO_THROW(TDirHandle::Open(TFilePaths::DirName(drive + "x.bin")));
    EXPECT_EQ(TFilePaths::DirName(drive + "x.bin"), drive);
}

TEST(WindowsFilesTest, AFolderInUseByASaveCannotBeRenamed)
{
    TScratchDir dir;
    const std::string folder = dir.File("work");
    MakeFolder(folder);
    {
        TDirHandle held = TDirHandle::Open(folder);
        EXPECT_THROW(RenamePath(folder, dir.File("moved")), std::exception);
        // Its files still come and go.
        WriteFileBytes(folder + "/a", {1});
        EXPECT_TRUE(held.RenameAt("a", "b"));
        EXPECT_TRUE(held.LinkAt("b", "c"));
        EXPECT_FALSE(held.LinkAt("b", "c"));
        EXPECT_EQ(errno, EEXIST);
        EXPECT_TRUE(held.UnlinkAt("b"));
    }
    RenamePath(folder, dir.File("moved"));
    EXPECT_EQ(NamesIn(dir.File("moved")), std::vector<std::string>{"c"});
}

TEST(WindowsFilesTest, StaleTemporaryFilesGoLiveOnesAndKeepsakesStay)
{
    TPrivateTempDir tmp;
    std::string liveName;
    {
        TTempFile live = TTempFile::Create();
        liveName = live.Name();
        ASSERT_EQ(liveName.rfind(TTempFile::PrivateDir() + "/", 0), 0u) << liveName;
        TTempFile keepsake = TTempFile::CreateKeepsake("image.bin");
        keepsake.Keep();
        // What a power cut leaves: a named temporary file that nobody holds.
        const std::string stale = TTempFile::PrivateDir() + "/0123ABCD.tmp";
        WriteFileBytes(stale, {1});
        EXPECT_EQ(TTempFile::RemoveStale(), 1u);
        EXPECT_FALSE(PathExists(stale));
        EXPECT_TRUE(PathExists(liveName));
        EXPECT_TRUE(PathExists(keepsake.Name()));
        RemovePath(keepsake.Name());
    }
    // Closed: the system deleted it.
    EXPECT_FALSE(PathExists(liveName));
    EXPECT_EQ(tmp.FileCount(), 0u);
}
