// The user guide's command: F1 heads the Help menu and opens the guide's table of contents
// through the desktop's service; a missing guide or browser is a message naming the file.

#include "FakeUi.h"
#include "TBusyState.h"
#include "THelpFile.h"
#include "TfrmMain.h"

#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(ManualCommandTest, TheGuideIsFoundBesideTheProgramOrInstalledAndWhatIsMissingIsTold)
{
    TFakeUi ui;
    QWidget window;
    TBusyState busy(&window);
    QTemporaryDir root;
    const QString bin = root.filePath(QStringLiteral("usr/bin"));
    const QString installed = root.filePath(QStringLiteral("usr/share/doc/hexcavator/manual/index.html"));
    QDir().mkpath(bin);
    QDir().mkpath(QFileInfo(installed).path());

    THelpFile::Manual().Open(busy, bin);
    ASSERT_EQ(ui.Messages.size(), 1);
    EXPECT_TRUE(ui.Messages[0].startsWith(installed)) << ui.Messages[0].toStdString();
    EXPECT_TRUE(ui.Messages[0].contains(QStringLiteral("見つかりません")));
    EXPECT_TRUE(ui.Opened.isEmpty());

    WriteTestFile(installed, QByteArray("<html lang=\"ja\"></html>"));
    THelpFile::Manual().Open(busy, bin);
    EXPECT_EQ(ui.Opened, QStringList{installed});
    EXPECT_EQ(ui.Messages.size(), 1);

    const QString beside = bin + QStringLiteral("/manual/index.html");
    QDir().mkpath(QFileInfo(beside).path());
    WriteTestFile(beside, QByteArray("<html lang=\"ja\"></html>"));
    ui.OpenFails = true;
    THelpFile::Manual().Open(busy, bin);
    EXPECT_EQ(ui.Opened.size(), 2);
    EXPECT_EQ(ui.Opened.last(), beside);
    ASSERT_EQ(ui.Messages.size(), 2);
    EXPECT_TRUE(ui.Messages[1].startsWith(beside)) << ui.Messages[1].toStdString();
    EXPECT_TRUE(ui.Messages[1].contains(QStringLiteral("ブラウザがありません")));
}

TEST(ManualCommandTest, F1HeadsTheHelpMenuAndOpensTheGuideBesideTheProgram)
{
    TFakeUi ui;
    TSettingsInTempDir settings;
    TfrmMain frm;
    QMenu *help = nullptr;
    for (QAction *menu : frm.menuBar()->actions())
        if (menu->text() == QStringLiteral("ヘルプ(&H)"))
            help = menu->menu();
    ASSERT_NE(help, nullptr);
    ASSERT_FALSE(help->actions().isEmpty());
    QAction *contents = help->actions().first();
    EXPECT_EQ(contents->text(), QStringLiteral("目次(&H)"));
    EXPECT_EQ(contents->shortcut(), QKeySequence(Qt::Key_F1));

    // The test program's folder holds no guide: the command names the file it looked for.
    const QString expected = THelpFile::Manual().Path();
    ASSERT_FALSE(QFileInfo::exists(expected)) << expected.toStdString();
    contents->trigger();
    ASSERT_EQ(ui.Messages.size(), 1);
    EXPECT_TRUE(ui.Messages[0].startsWith(expected)) << ui.Messages[0].toStdString();
    EXPECT_TRUE(ui.Opened.isEmpty());

    // A guide beside the program opens in the browser.
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/manual/index.html");
    QDir().mkpath(QFileInfo(beside).path());
    WriteTestFile(beside, QByteArray("<html lang=\"ja\"></html>"));
    contents->trigger();
    QFile::remove(beside);
    QDir().rmdir(QFileInfo(beside).path());
    EXPECT_EQ(ui.Opened, QStringList{beside});
    EXPECT_EQ(ui.Messages.size(), 1);
}
