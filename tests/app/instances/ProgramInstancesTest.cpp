// Real program processes working as one tool, with this test as one more instance among them:
// it hears their load notices, publishes a search text that they take, closes them all, and
// finds the settings written by the last one to go.

#include "TInstanceRegistry.h"
#include "TPrivateProgram.h"
#include "TSettingsFile.h"
#include "TAppDir.h"
#include "TVxSearchRecord.h"
#include "TVxShareMemStream.h"

#include <QSignalSpy>
#include <QTest>
#include <algorithm>

namespace {
constexpr int kDeadlineMs = TPrivateProgram::kDeadlineMs;

TEST(ProgramInstancesTest, RunningProgramsShareTheSearchHearLoadsAndCloseTogether)
{
    TPrivateProgram p;
    ASSERT_NO_FATAL_FAILURE(p.Prepare());
    TInstanceRegistry me(p.Instances);
    QSignalSpy loads(&me, &TInstanceRegistry::FileOpened);

    // Names that a command string would have mangled reach the new instances as themselves.
#ifdef _WIN32 // no quotes in Windows names: the command interpreter's characters instead
    const QString first = p.WriteFile(QStringLiteral("say & \u300chi\u300d%x%.bin"), "first");
#else
    const QString first = p.WriteFile(QStringLiteral("say \"hi\".bin"), "first");
#endif
    const QString second = p.WriteFile(QStringLiteral("-reverse"), "second");
    QProcess a, b;
    p.Start(a, {first});
    b.setWorkingDirectory(p.Root.path());
    p.Start(b, {QStringLiteral("-reverse")});
    ASSERT_TRUE(a.waitForStarted(kDeadlineMs) && b.waitForStarted(kDeadlineMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return loads.count() >= 2; }, kDeadlineMs)) << a.readAll().toStdString();
    EXPECT_EQ(me.EditorInstanceCount(), 3);

    TVxShareMemStream block(TVxSearchRecord::kBlockName, TVxSearchRecord::kSize);
    TVxSearchRecord::Store(block, "needle", true);
    me.PostToEditors(TEditorNotice::SearchTextChanged);
    // Both take it before the close that follows: notices arrive in the order posted.
    me.Leave();
    me.CloseAllInstances();
    ASSERT_TRUE(a.waitForFinished(kDeadlineMs) && b.waitForFinished(kDeadlineMs));
    EXPECT_EQ(a.exitCode(), 0);
    EXPECT_EQ(b.exitCode(), 0);
    EXPECT_EQ(me.EditorInstanceCount(), 0);

    TAppDir::SetOverride(p.Bin.toStdString());
    const TSettings saved = TSettingsFile().Load();
    const std::vector<std::string> recent = TSettingsFile().LoadRecentFiles();
    TAppDir::SetOverride(std::string());
    EXPECT_EQ(saved.SearchText, "needle");
    EXPECT_TRUE(saved.SearchIgnoreCase);
    ASSERT_EQ(recent.size(), 2u);
    for (const QString &f : {first, second})
        EXPECT_NE(std::find(recent.begin(), recent.end(), f.toStdString()),
                  recent.end());
}

} // namespace
