// The real program ends cleanly on SIGTERM and SIGHUP: exit status 0, not death by the signal,
// and its destructors run (the settings are written, no temporary file is left). It runs in a
// private folder of its own, so nothing is written beside the built program.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

#ifndef HEXCAVATOR_PROGRAM
#error "HEXCAVATOR_PROGRAM names the program under test"
#endif

namespace {
namespace fs = std::filesystem;
constexpr int kDeadlineMs = 30000;

// The program copied into root/bin: the settings go beside the program (see TAppDir), so this
// copy keeps them out of the build's folder.
struct TPrivateProgram {
    QTemporaryDir Root;
    QString Bin = Root.filePath(QStringLiteral("bin"));
    QString Tmp = Root.filePath(QStringLiteral("tmp"));
    QString Program = Bin + QStringLiteral("/hexcavator");

    QProcessEnvironment Environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("TMPDIR"), Tmp);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), Root.filePath(QStringLiteral("runtime")));
        env.insert(QStringLiteral("HOME"), Root.filePath(QStringLiteral("home")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), Root.filePath(QStringLiteral("home/.config")));
        return env;
    }
    // Descriptors of the process that lead into its temporary folder: the working copy, with
    // a name or without one.
    int OpenInTmp(qint64 pid) const
    {
        const std::string prefix = QFile::encodeName(Tmp).toStdString() + '/';
        std::error_code ec;
        int n = 0;
        for (const auto &fd : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ec))
            if (fs::read_symlink(fd.path(), ec).string().rfind(prefix, 0) == 0)
                ++n;
        return n;
    }
    // Files left anywhere in the temporary folder.
    int FilesInTmp() const
    {
        int n = 0;
        for (const auto &e : fs::recursive_directory_iterator(QFile::encodeName(Tmp).toStdString()))
            n += e.is_regular_file();
        return n;
    }
};

void EndsCleanlyOn(int sig)
{
    TPrivateProgram p;
    ASSERT_TRUE(p.Root.isValid());
    for (const char *sub : {"bin", "tmp", "runtime", "home"})
        ASSERT_TRUE(QDir(p.Root.path()).mkdir(QString::fromLatin1(sub)));
    ASSERT_TRUE(QFile::setPermissions(p.Root.filePath(QStringLiteral("runtime")),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    ASSERT_TRUE(QFile::copy(QStringLiteral(HEXCAVATOR_PROGRAM), p.Program));
    const QString data = p.Root.filePath(QStringLiteral("data.bin"));
    {
        QFile f(data);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(1000, 'x'));
    }

    QProcess proc;
    proc.setProcessEnvironment(p.Environment());
    // The program leaves ignored signals ignored; whatever started this test, it gets neither.
    proc.setChildProcessModifier([] {
        std::signal(SIGTERM, SIG_DFL);
        std::signal(SIGHUP, SIG_DFL);
    });
    proc.setProcessChannelMode(QProcess::MergedChannels);
    proc.start(p.Program, {data});
    ASSERT_TRUE(proc.waitForStarted(kDeadlineMs)) << proc.errorString().toStdString();
    // Running: the editor holds its working copy open.
    const bool running = QTest::qWaitFor(
        [&] { return p.OpenInTmp(proc.processId()) > 0 || proc.state() == QProcess::NotRunning; }, kDeadlineMs);
    ASSERT_TRUE(running && proc.state() == QProcess::Running) << proc.readAll().toStdString();

    ASSERT_EQ(::kill(static_cast<pid_t>(proc.processId()), sig), 0);
    ASSERT_TRUE(proc.waitForFinished(kDeadlineMs));
    EXPECT_EQ(proc.exitStatus(), QProcess::NormalExit) << proc.readAll().toStdString();
    EXPECT_EQ(proc.exitCode(), 0);
    EXPECT_EQ(p.FilesInTmp(), 0);
    // Written by the window's destructor only: the program ended the ordinary way.
    EXPECT_TRUE(QFile::exists(p.Bin + QStringLiteral("/Hexcavat.ini")));
}
} // namespace

TEST(ProgramSignalsTest, SigtermEndsTheProgramCleanly) { EndsCleanlyOn(SIGTERM); }

TEST(ProgramSignalsTest, SighupEndsTheProgramCleanly) { EndsCleanlyOn(SIGHUP); }
