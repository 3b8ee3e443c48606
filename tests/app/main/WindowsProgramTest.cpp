// The program on Windows: a Japanese file name on the command line reaches the real program
// whole (its argv would have "???"), and the session's end, as the window system announces
// it, ends the event loop without holding the session up.

#include "TAppDir.h"
#include "TInstanceRegistry.h"
#include "TPrivateProgram.h"
#include "TSettingsFile.h"
#include "TTermWatch.h"

#include <QAbstractEventDispatcher>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <windows.h>

TEST(WindowsProgramTest, JapaneseNameOnTheCommandLineReachesTheProgramWhole)
{
    TPrivateProgram p;
    ASSERT_NO_FATAL_FAILURE(p.Prepare());
    // Where the program's registry is, from the LOCALAPPDATA it is given.
    TInstanceRegistry me(p.Environment().value(QStringLiteral("LOCALAPPDATA")) + QStringLiteral("/hexcavator/instances"));
    QSignalSpy loads(&me, &TInstanceRegistry::FileOpened);

    const QString file = p.WriteFile(QStringLiteral("日本語の名前 ファイル.bin"), "bytes");
    QProcess program;
    p.Start(program, {file});
    ASSERT_TRUE(program.waitForStarted(TPrivateProgram::kDeadlineMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return loads.count() >= 1; }, TPrivateProgram::kDeadlineMs))
        << program.readAll().toStdString();
    me.Leave();
    me.CloseAllInstances();
    ASSERT_TRUE(program.waitForFinished(TPrivateProgram::kDeadlineMs));
    EXPECT_EQ(program.exitCode(), 0);

    // The file it loaded is the one named, as its recent files say.
    TAppDir::SetOverride(p.Bin.toStdString());
    const std::vector<std::string> recent = TSettingsFile().LoadRecentFiles();
    TAppDir::SetOverride(std::string());
    EXPECT_NE(std::find(recent.begin(), recent.end(), file.toStdString()), recent.end())
        << (recent.empty() ? std::string("(no recent files)") : recent.front());
}

TEST(WindowsProgramTest, SessionEndIsAnsweredYesAndEndsTheLoopUntilTheWatchIsGone)
{
    int ends = 0;
    auto deliver = [](UINT message, WPARAM wParam, LPARAM lParam, qintptr &result) {
        MSG msg = {};
        msg.message = message;
        msg.wParam = wParam;
        msg.lParam = lParam;
        return QAbstractEventDispatcher::instance()->filterNativeEvent("windows_generic_MSG", &msg, &result);
    };
    {
        TTermWatch watch([&] { ++ends; });
        qintptr result = FALSE;
        EXPECT_TRUE(deliver(WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, result));
        EXPECT_EQ(result, TRUE) << "the program never holds up the session's end";
        EXPECT_EQ(ends, 1);
        // A session end that another program cancelled: this one goes on.
        EXPECT_TRUE(deliver(WM_ENDSESSION, FALSE, 0, result));
        EXPECT_EQ(ends, 1);
        // A forced end comes without the question.
        EXPECT_TRUE(deliver(WM_ENDSESSION, TRUE, ENDSESSION_CRITICAL, result));
        EXPECT_EQ(ends, 2);
        EXPECT_FALSE(deliver(WM_CLOSE, 0, 0, result)) << "other messages pass on";
    }
    qintptr result = FALSE;
    EXPECT_FALSE(deliver(WM_QUERYENDSESSION, 0, 0, result));
    EXPECT_EQ(ends, 2) << "nothing is called once the watch is gone";
}
