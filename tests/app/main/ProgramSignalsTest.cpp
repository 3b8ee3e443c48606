// The real program ends cleanly on SIGTERM and SIGHUP: exit status 0, not death by the signal,
// and its destructors run (the settings are written, no temporary file is left). It runs in a
// private folder of its own, so nothing is written beside the built program.

#include "TPrivateProgram.h"

#include <QTest>
#include <csignal>

namespace {
constexpr int kDeadlineMs = TPrivateProgram::kDeadlineMs;

void EndsCleanlyOn(int sig)
{
    TPrivateProgram p;
    ASSERT_NO_FATAL_FAILURE(p.Prepare());
    const QString data = p.WriteFile(QStringLiteral("data.bin"), QByteArray(1000, 'x'));

    QProcess proc;
    p.Start(proc, {data});
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
    EXPECT_TRUE(QFile::exists(p.Ini));
}
} // namespace

TEST(ProgramSignalsTest, SigtermEndsTheProgramCleanly) { EndsCleanlyOn(SIGTERM); }

TEST(ProgramSignalsTest, SighupEndsTheProgramCleanly) { EndsCleanlyOn(SIGHUP); }
