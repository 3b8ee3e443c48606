// What keeps other users and stray bytes out of an instance: the folder must be this user's
// and closed to everyone else, each connection's peer must be this user (through the seam and,
// where the tests may change user, for real), and anything but one whole message closes the
// connection without harm.

#include "THelperProcess.h"
#include "TInstanceMessage.h"
#include "TInstanceRegistry.h"
#include "TRuntimeFolder.h"

#include <QFile>
#include <QLocalSocket>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {
QString Hex(TEditorNotice n)
{
    const auto bytes = TInstanceMessage::Encode(n);
    return QString::fromLatin1(QByteArray(bytes.data(), int(bytes.size())).toHex());
}

std::string RefusalOf(const QString &folder)
{
    try {
        TInstanceRegistry r(folder);
    } catch (const std::system_error &e) {
        return e.what();
    }
    return "(accepted)";
}

// The reasons of dropped connections, as they come.
QStringList Reasons(const QSignalSpy &spy)
{
    QStringList out;
    for (const auto &args : spy)
        out << args.at(0).toString();
    return out;
}

struct InstanceGuardTest : ::testing::Test {
    TRuntimeFolder Runtime;
};
} // namespace

TEST_F(InstanceGuardTest, FolderIsMadePrivateAndRefusedWhenOthersCouldUseIt)
{
    const std::string folder = Runtime.Registry().toStdString();
    {
        TInstanceRegistry r(Runtime.Registry());
        struct stat st;
        ASSERT_EQ(::lstat(folder.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0700u);
        EXPECT_EQ(st.st_uid, ::geteuid());
    }

    for (mode_t mode : {0750, 0701, 0707, 0770}) {
        ASSERT_EQ(::chmod(folder.c_str(), mode), 0);
        const std::string why = RefusalOf(Runtime.Registry());
        EXPECT_NE(why.find(folder), std::string::npos) << why;
        EXPECT_NE(why.find("open to group or others"), std::string::npos) << std::oct << mode << ": " << why;
    }
    EXPECT_TRUE(Runtime.SocketFiles().isEmpty()) << "nothing listens in a refused folder";

    // A helper started there says so instead of running.
    THelperProcess helper({"registry"}, Runtime.Path());
    EXPECT_NE(helper.Take("error ").indexOf("open to group or others"), -1) << helper.AllOutput().toStdString();
    EXPECT_EQ(helper.WaitExit(), 1);

    // A link to a folder that would pass is not the folder itself.
    ASSERT_EQ(::chmod(folder.c_str(), 0700), 0);
    const std::string link = Runtime.Path().toStdString() + "/linked";
    ASSERT_EQ(::symlink(folder.c_str(), link.c_str()), 0);
    EXPECT_NE(RefusalOf(QString::fromStdString(link)).find("not a folder"), std::string::npos);

    if (::geteuid() != 0)
        GTEST_SKIP() << "making a folder of another user needs root";
    ASSERT_EQ(::chown(folder.c_str(), 65534, 65534), 0);
    const std::string why = RefusalOf(Runtime.Registry());
    EXPECT_NE(why.find("belongs to user 65534"), std::string::npos) << why;
}

TEST_F(InstanceGuardTest, PeerOfAnotherUserIsRefusedBeforeItsMessageIsRead)
{
    TInstanceRegistry mine(Runtime.Registry());
    QSignalSpy opened(&mine, &TInstanceRegistry::FileOpened);
    QSignalSpy dropped(&mine, &TInstanceRegistry::ConnectionDropped);
    std::vector<qintptr> judged;
    mine.SetPeerProbe([&](qintptr descriptor) {
        judged.push_back(descriptor);
        return false; // another user
    });

    THelperProcess helper({"registry"}, Runtime.Path());
    ASSERT_FALSE(helper.Take("ready ").isNull());
    ASSERT_FALSE(helper.Ask("post FileOpened", "posted").isNull());
    ASSERT_FALSE(helper.Take("notice FileOpened").isNull()) << "the helper's own copy arrived";
    ASSERT_TRUE(PollUntil([&] { return Reasons(dropped).contains("peer"); })) << Reasons(dropped).join(',').toStdString();
    ASSERT_FALSE(judged.empty());
    EXPECT_GE(judged.front(), 0) << "the probe is asked about the accepted socket";
    QCoreApplication::processEvents();
    EXPECT_EQ(opened.count(), 0);

    // The kernel's answer again: the same helper's next notice gets through.
    mine.SetPeerProbe(nullptr);
    ASSERT_FALSE(helper.Ask("post FileOpened", "posted").isNull());
    EXPECT_TRUE(PollUntil([&] { return opened.count() == 1; }));
}

TEST_F(InstanceGuardTest, RealProcessOfAnotherUserIsRefusedEvenThroughAnOpenFolder)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "starting a process of another user needs root";
    TInstanceRegistry mine(Runtime.Registry());
    QSignalSpy opened(&mine, &TInstanceRegistry::FileOpened);
    QSignalSpy dropped(&mine, &TInstanceRegistry::ConnectionDropped);
    // As if someone had opened the door: the peer check alone stands in the way.
    ASSERT_EQ(::chmod(Runtime.Path().toLocal8Bit().constData(), 0711), 0);
    ASSERT_EQ(::chmod(Runtime.Registry().toLocal8Bit().constData(), 0711), 0);
    ASSERT_EQ(::chmod(mine.OwnPath().toLocal8Bit().constData(), 0777), 0);

    THelperProcess stranger({"connect-as", "65534", mine.OwnPath(), Hex(TEditorNotice::FileOpened)});
    PollUntil([&] { return !dropped.isEmpty(); });
    EXPECT_EQ(stranger.WaitExit(), 0) << "connected, then hung up on";
    EXPECT_EQ(Reasons(dropped), QStringList{"peer"});
    QCoreApplication::processEvents();
    EXPECT_EQ(opened.count(), 0);

    THelperProcess same({"connect-as", "0", mine.OwnPath(), Hex(TEditorNotice::FileOpened)});
    EXPECT_TRUE(PollUntil([&] { return opened.count() == 1; })) << "the same bytes from this user are a notice";
    EXPECT_EQ(same.WaitExit(), 0);
}

TEST_F(InstanceGuardTest, AnythingButOneWholeMessageClosesTheConnection)
{
    TInstanceRegistry mine(Runtime.Registry());
    QSignalSpy dropped(&mine, &TInstanceRegistry::ConnectionDropped);
    QSignalSpy opened(&mine, &TInstanceRegistry::FileOpened);

    auto send = [&](const QByteArray &bytes, bool hangUp) {
        QLocalSocket s;
        s.connectToServer(mine.OwnPath());
        EXPECT_TRUE(s.waitForConnected(1000));
        s.write(bytes);
        s.flush();
        if (hangUp)
            s.disconnectFromServer();
        const bool closed = PollUntil([&] {
            s.waitForReadyRead(1);
            return s.state() == QLocalSocket::UnconnectedState;
        });
        EXPECT_TRUE(closed) << "the registry hangs up";
    };

    send(QByteArray(4096, '\x5a'), false);
    auto unknown = TInstanceMessage::Encode(TEditorNotice::FileOpened);
    unknown[7] = 0x70;
    send(QByteArray(unknown.data(), int(unknown.size())), false);
    send(QByteArray("HXn1\0", 5), true);
    ASSERT_TRUE(PollUntil([&] { return dropped.count() == 3; }));
    EXPECT_EQ(Reasons(dropped), (QStringList{"garbage", "garbage", "short"}));
    EXPECT_EQ(opened.count(), 0);

    // A message followed by more is still only that message.
    const auto good = TInstanceMessage::Encode(TEditorNotice::FileOpened);
    send(QByteArray(good.data(), int(good.size())) + QByteArray(100, 'z'), false);
    EXPECT_TRUE(PollUntil([&] { return opened.count() == 1; }));

    // Another process fed garbage keeps running and answering.
    THelperProcess helper({"registry"}, Runtime.Path());
    const QString path = helper.Take("ready ");
    ASSERT_FALSE(path.isNull());
    THelperProcess feeder({"connect-as", QString::number(::geteuid()), path, QString(512, 'f')});
    EXPECT_EQ(feeder.WaitExit(), 0);
    EXPECT_FALSE(helper.Take("dropped garbage").isNull());
    EXPECT_EQ(helper.Ask("count", "count "), "2");
    mine.PostToEditors(TEditorNotice::SearchTextChanged);
    EXPECT_FALSE(helper.Take("notice SearchTextChanged").isNull());
}
