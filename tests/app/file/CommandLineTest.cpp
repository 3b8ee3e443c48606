// The command line as the desktop and other instances use it: plain paths, shortcuts, the
// list-file switch, and names that must reach a new instance exactly as they are.

#include "FakeUi.h"
#include "TCommandLineFiles.h"
#include "TShellPaths.h"
#include "TVxHexcavator.h"
#include "TCommandLine.h"
#include "TEditCommands.h"
#include "TFeatureFixture.h"
#include "TFileCommands.h"

#include <QCoreApplication>
#include <QTest>
#include <QDir>
#include <QEvent>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {
// The file commands alone: the command line is theirs.
struct CommandLineTest : TFeatureTest {
    TFileCommands files{fx.Context()};
    TEditCommands edit{fx.Context()};

    QString File(const QString &name, const QByteArray &bytes = QByteArray("data"))
    {
        const QString p = dir.filePath(name);
        WriteTestFile(p, bytes);
        return p;
    }
    QString Opened() const { return QString::fromStdString(fx.Editor->FileName()); }
};
} // namespace

TEST_F(CommandLineTest, TheWindowIsShownAndPaintedBeforeAFileNamedOnTheCommandLineLoads)
{
    // Paints of the main window and everything in it, counted as they happen.
    struct TPaints : QObject {
        int Count = 0;
        bool eventFilter(QObject *, QEvent *e) override
        {
            Count += e->type() == QEvent::Paint;
            return false;
        }
    } paints;
    qApp->installEventFilter(&paints);
    const QString a = File(QStringLiteral("a.bin"));
    bool shownAtLoad = false;
    int paintsAtLoad = 0;
    fx.Editor->OnFileOpen.Add([&] {
        shownAtLoad = fx.Window.isVisible();
        paintsAtLoad = paints.Count;
    });
    TCommandLineFiles::ShowThenOpen(fx.Window, files, {a});
    EXPECT_TRUE(fx.Window.isVisible());
    EXPECT_TRUE(Opened().isEmpty()) << "loaded before the event loop ran";
    EXPECT_TRUE(QTest::qWaitFor([this] { return !Opened().isEmpty(); }, 5000));
    qApp->removeEventFilter(&paints);
    EXPECT_EQ(Opened(), a);
    EXPECT_TRUE(shownAtLoad);
    EXPECT_GT(paintsAtLoad, 0);
}

TEST_F(CommandLineTest, TheFirstFileOpensHereEachFurtherOneInANewInstance)
{
    const QString a = File(QStringLiteral("a.bin")), b = File(QStringLiteral("b.bin"));
    TCommandLineFiles::OpenCommandLineFiles(files, {a, b});
    EXPECT_EQ(Opened(), a);
    ASSERT_EQ(ui.Started.size(), 1);
    EXPECT_EQ(ui.Started[0].mid(1), QStringList{b});
    EXPECT_TRUE(ui.Messages.isEmpty());
}

TEST_F(CommandLineTest, AListFileInAnyCaseOpensItsLinesAsTheyStandAndStopsQuietlyAtAFailure)
{
    const QString a = File(QStringLiteral("a.bin")), b = File(QStringLiteral("b c.bin"));
    const QString c = File(QStringLiteral("c.bin"));
    const QString gone = dir.filePath(QStringLiteral("gone.bin"));
    const QString list = File(QStringLiteral("list.txt"), (a + "\r\n" + b + "\n" + gone + "\n" + c + "\n").toUtf8());
    TCommandLineFiles::OpenCommandLineFiles(files, {QStringLiteral("/se"), list});
    EXPECT_EQ(Opened(), a);
    ASSERT_EQ(ui.Started.size(), 2); // a missing file is passed by
    EXPECT_EQ(ui.Started[0].mid(1), QStringList{b});
    EXPECT_EQ(ui.Started[1].mid(1), QStringList{c});
    EXPECT_TRUE(ui.Messages.isEmpty());

    // A file that fails to open ends the list, without a word.
    TFeatureFixture otherWindow;
    TFileCommands other(otherWindow.Context());
    ui.Started.clear();
    const QString failing = File(QStringLiteral("failing.txt"), (dir.path() + "\n" + a + "\n").toUtf8());
    TCommandLineFiles::OpenCommandLineFiles(other, {QStringLiteral("/Se"), failing});
    EXPECT_TRUE(otherWindow.Editor->FileName().empty());
    EXPECT_TRUE(ui.Started.isEmpty());
    EXPECT_TRUE(ui.Messages.isEmpty());
}

TEST_F(CommandLineTest, TheSwitchAloneOpensNothingAndADirectFailureIsShownAndPassedBy)
{
    TCommandLineFiles::OpenCommandLineFiles(files, {QStringLiteral("/SE")});
    EXPECT_TRUE(Opened().isEmpty());
    EXPECT_TRUE(ui.Messages.isEmpty());
    const QString a = File(QStringLiteral("a.bin"));
    TCommandLineFiles::OpenCommandLineFiles(files, {dir.path(), a});
    EXPECT_EQ(ui.Messages.size(), 1); // a folder is no file to edit
    EXPECT_EQ(Opened(), a);
}

#ifndef _WIN32 // symbolic links and .desktop files; Windows' .lnk files are tested with the platform
TEST_F(CommandLineTest, ShortcutsOpenWhatTheyStandForWithTheLongAbsolutePath)
{
    const QString target = File(QStringLiteral("target.bin"));
    const QString link = dir.filePath(QStringLiteral("link.bin"));
    ASSERT_EQ(::symlink(target.toUtf8().constData(), link.toUtf8().constData()), 0);
    EXPECT_EQ(QString::fromStdString(TShellPaths::ResolveShortcut(link.toStdString())), target);

    const QString spaced = File(QStringLiteral("with space.bin"));
    const QString desktop = File(QStringLiteral("x.desktop"),
                                 "[Desktop Entry]\nType=Link\nName=x\nURL=file://" +
                                     dir.path().toUtf8() + "/with%20space.bin\n");
    EXPECT_EQ(QString::fromStdString(TShellPaths::ResolveShortcut(desktop.toStdString())), spaced);
    const QString app = File(QStringLiteral("app.desktop"), "[Desktop Entry]\nType=Application\nExec=x\n");
    EXPECT_EQ(QString::fromStdString(TShellPaths::ResolveShortcut(app.toStdString())), app);
    const QString web = File(QStringLiteral("web.desktop"), "[Desktop Entry]\nType=Link\nURL=https://example.org/\n");
    EXPECT_TRUE(TShellPaths::ResolveShortcut(web.toStdString()).empty());
    // A zero byte would cut the path short at the system and open another file.
    for (const QByteArray &url : {QByteArray("file://") + spaced.toUtf8() + "%00.txt",
                                  QByteArray("file://") + spaced.toUtf8() + QByteArray(".txt\0", 5)}) {
        const QString cut = File(QStringLiteral("cut.desktop"), "[Desktop Entry]\nType=Link\nURL=" + url + "\n");
        EXPECT_TRUE(TShellPaths::ResolveShortcut(cut.toStdString()).empty()) << url.toStdString();
    }

    QDir(dir.path()).mkdir(QStringLiteral("sub"));
    const QString roundabout = dir.path() + QStringLiteral("/./sub/../target.bin");
    EXPECT_EQ(QString::fromStdString(TShellPaths::ExpandLongPath(roundabout.toStdString())), target);
    EXPECT_EQ(TShellPaths::ExpandLongPath("/no/such/../thing"), "/no/such/../thing");

    TCommandLineFiles::OpenCommandLineFiles(files, {link});
    EXPECT_EQ(Opened(), target);
}
#endif

TEST_F(CommandLineTest, NamesReachANewInstanceExactlyAsTheyAre)
{
    files.OpenFile(File(QStringLiteral("first.bin")));
    edit.acReadOnly->trigger();
#ifdef _WIN32
    // Windows names hold no quotes or line breaks; the command interpreter's own characters
    // and Japanese instead.
    const QStringList names = {QStringLiteral("two  spaces.bin"), QStringLiteral("a&b^c%d%.bin"),
                               QStringLiteral("日本語.bin"), QStringLiteral("-rf"), QStringLiteral("/SEcret")};
#else
    const QStringList names = {QStringLiteral("say \"hi\".bin"), QStringLiteral("two  spaces .bin"),
                               QStringLiteral("line\nbreak.bin"), QStringLiteral("-rf"), QStringLiteral("/SEcret")};
#endif
    for (const QString &name : names) {
        const QString path = File(QString(name).replace(QLatin1Char('/'), QLatin1Char('_')));
        ui.Started.clear();
        files.OpenFile(path);
        ASSERT_EQ(ui.Started.size(), 1) << name.toStdString();
        EXPECT_EQ(ui.Started[0].mid(1), QStringList{path}) << name.toStdString();
    }
    // A file that is called like the switch is handed on in a form that cannot be taken for it.
    EXPECT_EQ(TCommandLine::ArgumentFor(QStringLiteral("/se")), QStringLiteral("/./se"));
#ifndef _WIN32
    EXPECT_EQ(TShellPaths::ExpandLongPath("/./tmp"), "/tmp");
#endif
}
