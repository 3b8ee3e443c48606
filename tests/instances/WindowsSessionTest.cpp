// The session's services on Windows between real processes: the shared block lives in the
// session's namespace, is closed to everyone else and goes with its last holder; instances'
// markers vanish with their instance while a stale one is cleaned away; the pipes admit this
// user alone and tell who connected; the console's break is caught instead of ending the
// process.

#include "EFCreateError.h"
#include "THelperProcess.h"
#include "TInstanceMessage.h"
#include "TInstanceRegistry.h"
#include "TPeerCredentials.h"
#include "TPrivateFolder.h"
#include "TRuntimeFolder.h"
#include "TSharedMemBlock.h"
#include "TTermSignals.h"
#include "TUserSid.h"
#include "TVxShareMemStream.h"
#include "TWideText.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <system_error>
#include <vector>
// <windows.h> first: the other system headers build on it.
#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

namespace {
std::string UniqueName()
{
    const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string("HXTEST-") + info->name() + "-" + std::to_string(::GetCurrentProcessId());
}

std::wstring Wide(const std::string &s) { return TWideText::ToWide(s); }

// Whether a mapping of that name exists in the session's namespace now.
bool MappingExists(const std::string &name)
{
    const HANDLE h = ::OpenFileMappingW(FILE_MAP_READ, FALSE, Wide(TSharedMemBlock::SystemName(name)).c_str());
    if (!h)
        return false;
    ::CloseHandle(h);
    return true;
}

// The owner and the SIDs that the DACL of a kernel object allows; false when the system
// cannot tell.
bool AllowedSids(HANDLE object, bool &ownerIsUs, std::vector<std::wstring> &allowed)
{
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (::GetSecurityInfo(object, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner,
                          nullptr, &dacl, nullptr, &sd) != ERROR_SUCCESS)
        return false;
    ownerIsUs = TUserSid::IsOwn(owner);
    for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
        void *ace = nullptr;
        if (::GetAce(dacl, i, &ace) && static_cast<ACE_HEADER *>(ace)->AceType == ACCESS_ALLOWED_ACE_TYPE) {
            LPWSTR text = nullptr;
            if (::ConvertSidToStringSidW(&static_cast<ACCESS_ALLOWED_ACE *>(ace)->SidStart, &text))
                allowed.push_back(text);
            ::LocalFree(text);
        }
    }
    ::LocalFree(sd);
    return dacl != nullptr;
}
} // namespace

TEST(WindowsSharedBlockTest, ProcessesShareOneMappingInTheSessionUntilTheLastHolderEnds)
{
    const std::string name = UniqueName();
    EXPECT_EQ(TSharedMemBlock::SystemName(name), "Local\\" + name);
    auto mine = std::make_unique<TVxShareMemStream>(name, 260);
    mine->SetPosition(20);
    mine->Write("from the test", 13);
    EXPECT_TRUE(MappingExists(name)) << "the system knows the block by its name in Local\\";

    THelperProcess writer({"shm-write", QString::fromStdString(name), "260", "40", "from the child"});
    ASSERT_FALSE(writer.Take("written").isNull()) << writer.AllOutput().toStdString();
    char seen[14] = {};
    mine->SetPosition(40);
    ASSERT_EQ(mine->Read(seen, 14), 14);
    EXPECT_EQ(std::string(seen, 14), "from the child");
    THelperProcess reader({"shm-read", QString::fromStdString(name), "260"});
    const QByteArray data = QByteArray::fromHex(reader.Take("data ").toLatin1());
    ASSERT_EQ(data.size(), 260);
    EXPECT_EQ(data.mid(20, 13), "from the test");

    // A mapping cannot grow: asking an existing one for more than it holds is refused.
    try {
        TSharedMemBlock::Open(name, TSharedMemBlock::kMinBytes * 4);
        ADD_FAILURE() << "a block larger than the mapping was opened";
    } catch (const std::system_error &e) {
        EXPECT_EQ(e.code().value(), ENOSPC) << e.what();
    }

    writer.Kill();
    reader.Kill();
    EXPECT_TRUE(MappingExists(name));
    mine.reset();
    EXPECT_FALSE(MappingExists(name)) << "gone with the last holder, however the others ended";
    TVxShareMemStream again(name, 260);
    again.SetPosition(20);
    ASSERT_EQ(again.Read(seen, 13), 13);
    EXPECT_EQ(std::string(seen, 13), std::string(13, '\0')) << "nothing survives a time without holders";

    EXPECT_THROW(TVxShareMemStream("no/such", 260), EFCreateError);
    EXPECT_THROW(TVxShareMemStream("no\\such", 260), EFCreateError) << "no way out of the session's namespace";
}

TEST(WindowsSharedBlockTest, OursAdmitsOnlyThisUserAndOneOpenToOthersIsRefused)
{
    const std::string name = UniqueName();
    const std::wstring own = TUserSid::ToString(TUserSid::Own());
    ASSERT_FALSE(own.empty());
    {
        TSharedMemBlock block = TSharedMemBlock::Open(name, 260);
        const HANDLE raw = ::OpenFileMappingW(READ_CONTROL, FALSE, Wide(TSharedMemBlock::SystemName(name)).c_str());
        ASSERT_NE(raw, nullptr);
        bool ownerIsUs = false;
        std::vector<std::wstring> allowed;
        const bool told = AllowedSids(raw, ownerIsUs, allowed);
        ::CloseHandle(raw);
        if (!told)
            GTEST_SKIP() << "this system does not report a mapping's security (Wine)";
        EXPECT_TRUE(ownerIsUs);
        EXPECT_EQ(allowed, std::vector<std::wstring>{own});
    }

    // Planted by anyone, open to everyone: not a block to share the search text through.
    const std::wstring sddl = L"O:" + own + L"D:(A;;GA;;;WD)";
    PSECURITY_DESCRIPTOR sd = nullptr;
    ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &sd, nullptr));
    SECURITY_ATTRIBUTES sa = {sizeof sa, sd, FALSE};
    const HANDLE planted = ::CreateFileMappingW(INVALID_HANDLE_VALUE, &sa, PAGE_READWRITE, 0, 65536,
                                                Wide(TSharedMemBlock::SystemName(name)).c_str());
    ::LocalFree(sd);
    ASSERT_NE(planted, nullptr);
    EXPECT_THROW(TVxShareMemStream(name, 260), EFCreateError);
    ::CloseHandle(planted);
}

TEST(WindowsInstanceMarkerTest, KilledInstanceLeavesNoMarkerAndAStaleOneIsCleanedAway)
{
    TRuntimeFolder runtime;
    THelperProcess first({"registry"}, runtime.Path());
    THelperProcess second({"registry"}, runtime.Path());
    const QString a = first.Take("ready ");
    const QString b = second.Take("ready ");
    ASSERT_FALSE(a.isNull() || b.isNull()) << first.AllOutput().toStdString() << second.AllOutput().toStdString();
    EXPECT_TRUE(a.startsWith(runtime.Registry() + "/")) << a.toStdString();
    EXPECT_EQ(first.Ask("count", "count "), "2");

    EXPECT_FALSE(TPrivateFolder::Remove(b.toStdString())) << "a live instance's marker stays";
    EXPECT_TRUE(QFile::exists(b));
    second.Kill();
    EXPECT_TRUE(PollUntil([&] { return !QFile::exists(b); })) << "the system deletes the marker with its holder";

    // Left by a crash of the whole system: a marker whose pipe nobody makes any more.
    const QString stale = runtime.Registry() + "/4242-deadbeef.hxi";
    {
        QFile f(stale);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    EXPECT_EQ(first.Ask("count", "count "), "1");
    EXPECT_FALSE(QFile::exists(stale)) << "the listing removed the stale marker";
    EXPECT_TRUE(QFile::exists(a));
}

TEST(WindowsInstanceMarkerTest, FolderOpenToOthersOrALinkIsRefused)
{
    TRuntimeFolder runtime;
    auto refusal = [](const QString &folder) -> std::string {
        try {
            TInstanceRegistry r(folder);
        } catch (const std::system_error &e) {
            return e.what();
        }
        return "(accepted)";
    };
    // Everyone may read it: someone else could see and plant markers.
    const std::wstring own = TUserSid::ToString(TUserSid::Own());
    const std::wstring sddl = L"O:" + own + L"D:P(A;OICI;FA;;;" + own + L")(A;OICI;FR;;;WD)";
    PSECURITY_DESCRIPTOR sd = nullptr;
    ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &sd, nullptr));
    SECURITY_ATTRIBUTES sa = {sizeof sa, sd, FALSE};
    const QString open = runtime.Path() + "/open";
    const BOOL made = ::CreateDirectoryW(Wide(open.toStdString()).c_str(), &sa);
    ::LocalFree(sd);
    ASSERT_TRUE(made);
    const std::string why = refusal(open);
    EXPECT_NE(why.find("open to others (S-1-1-0)"), std::string::npos) << why;
    EXPECT_TRUE(QDir(open).entryList(QDir::Files).isEmpty()) << "nothing listens in a refused folder";

    // A link to a folder that would pass is not the folder itself.
    const QString good = runtime.Path() + "/good";
    { TInstanceRegistry r(good); }
    const QString link = runtime.Path() + "/linked";
    const std::wstring linkName = Wide(link.toStdString());
    ::CreateSymbolicLinkW(linkName.c_str(), Wide(good.toStdString()).c_str(),
                          SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
    const DWORD attrs = ::GetFileAttributesW(linkName.c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES || !(attrs & FILE_ATTRIBUTE_REPARSE_POINT))
        GTEST_SKIP() << "no folder link was made (Wine says it made one; Windows needs the privilege)";
    EXPECT_NE(refusal(link).find("not a folder"), std::string::npos) << refusal(link);
}

TEST(WindowsInstancePipeTest, PipeAdmitsOnlyThisUserAndItsPeerCheckKnowsThisProcess)
{
    TRuntimeFolder runtime;
    TInstanceRegistry mine(runtime.Registry());
    QSignalSpy opened(&mine, &TInstanceRegistry::FileOpened);
    QSignalSpy dropped(&mine, &TInstanceRegistry::ConnectionDropped);

    // A notice from this very process passes the real peer check.
    QLocalSocket client;
    client.connectToServer(mine.OwnPath());
    ASSERT_TRUE(client.waitForConnected(1000)) << client.errorString().toStdString();
    const auto bytes = TInstanceMessage::Encode(TEditorNotice::FileOpened);
    client.write(bytes.data(), qint64(bytes.size()));
    client.flush();
    PollUntil([&] { return opened.count() == 1 || !dropped.isEmpty(); });
    if (!dropped.isEmpty() && dropped.at(0).at(0).toString() == "peer")
        GTEST_SKIP() << "this system does not name a pipe's client process (Wine)";
    EXPECT_EQ(opened.count(), 1);

    // Nothing but a pipe's end passes.
    EXPECT_FALSE(TPeerCredentials::IsOwnUser(-1));
    const HANDLE file = ::CreateFileW(TWideText::ToWide(runtime.Path().toStdString() + "/not-a-pipe").c_str(),
                                      GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(TPeerCredentials::IsOwnUser(reinterpret_cast<intptr_t>(file)));
    ::CloseHandle(file);

    // The pipe's own access list: this user alone, though the pipe lives in no folder.
    const std::wstring pipeName = L"\\\\.\\pipe\\" + TWideText::ToWide(mine.OwnPath().toStdString());
    const HANDLE pipe = ::CreateFileW(pipeName.c_str(), GENERIC_READ | GENERIC_WRITE | READ_CONTROL, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(pipe, INVALID_HANDLE_VALUE) << ::GetLastError();
    bool ownerIsUs = false;
    std::vector<std::wstring> allowed;
    const bool told = AllowedSids(pipe, ownerIsUs, allowed);
    ::CloseHandle(pipe);
    if (!told)
        GTEST_SKIP() << "this system does not report a pipe's security (Wine)";
    EXPECT_EQ(allowed, std::vector<std::wstring>{TUserSid::ToString(TUserSid::Own())});
}

TEST(WindowsTermSignalsTest, ConsoleBreakSetsTheEventInsteadOfEndingTheProcess)
{
    // Sent to the helper's own process group, so that no other process on the console is hit.
    QProcess helper;
    helper.setCreateProcessArgumentsModifier(
        [](QProcess::CreateProcessArguments *args) { args->flags |= CREATE_NEW_PROCESS_GROUP; });
    helper.start(QStringLiteral(INSTANCE_HELPER), {"term-break"});
    ASSERT_TRUE(helper.waitForFinished(THelperProcess::kDeadlineMs));
    const QString out = QString::fromUtf8(helper.readAllStandardOutput()).trimmed();
    if (out.startsWith("cannot send") || out == "none")
        GTEST_SKIP() << "the console's break does not reach the process here (Wine): " << out.toStdString();
    EXPECT_EQ(helper.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(helper.exitCode(), 0) << "ended by the break, not by its own end: " << out.toStdString();
    EXPECT_EQ(out, QStringLiteral("took %1").arg(TTermSignals::kConsoleEvent + CTRL_BREAK_EVENT));
}
