// The window's side of a troubled temporary folder: it opens without one and says why, and
// a full one is reported once, however often the user moves, while the document stays
// readable and can be saved elsewhere.

#include "FakeUi.h"
#include "TFileFaults.h"
#include "TTempFile.h"
#include "TVxHexcavator.h"
#include "TestSupport.h"
#include "TBusyState.h"
#include "THelpFile.h"
#include "TfrmMain.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cstdlib>
#include <gtest/gtest.h>

TEST(FileSafetyTest, WithoutATemporaryFolderTheWindowOpensEmptyAndSaysWhy)
{
    TFakeUi ui;
    TSettingsInTempDir settings;
    // The system's own variable: $TMPDIR, on Windows %TMP% (GetTempPathW).
    TTempFolderVariable temp("/nonexistent-hexcavator");
    TTempFile::SetFallbackDir("/nonexistent-hexcavator-fallback");
    {
        TfrmMain frm;
        QTest::qWait(1);
        ASSERT_EQ(ui.Messages.size(), 1);
        EXPECT_TRUE(ui.Messages[0].contains(QStringLiteral("/nonexistent-hexcavator-fallback"))) << ui.Messages[0].toStdString();
        EXPECT_EQ(ui.Flags[0], 0x10u);
        EXPECT_EQ(frm.VxHexcavator1->FileSize(), 0);
    }
    TTempFile::SetFallbackDir(std::string());
}

TEST(FileSafetyTest, AFullTemporaryFolderIsReportedOnceAndTheDocumentSavesElsewhere)
{
    TFakeUi ui;
    TSettingsInTempDir settings;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.bin"));
    QByteArray bytes(1 << 20, '\0');
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 7);
    WriteTestFile(path, bytes);
    TfrmMain frm;
    frm.show();
    TVxHexcavator &ed = *frm.VxHexcavator1;
    OpenWritable(frm, path);
    ed.setFocus();
    QTest::keyClick(&ed, Qt::Key_A); // half a byte typed: the window is dirty
    bytes[0] = 0x0A; // the first digit of a byte writes 0x0N
    TFileFaults::FailWritesTo(ed.WorkCopy().Handle().Fd(), ENOSPC);

    // Each move away repaints rows the pinned window does not hold.
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(&ed, Qt::Key_End, Qt::ControlModifier);
        QTest::qWait(20);
        QTest::keyClick(&ed, Qt::Key_Home, Qt::ControlModifier);
        QTest::qWait(20);
        QTest::keyClick(&ed, Qt::Key_PageDown);
        QTest::qWait(20);
    }
    ASSERT_EQ(ui.Messages.size(), 1) << ui.Messages.join(QStringLiteral(" | ")).toStdString();
    EXPECT_TRUE(ui.Messages[0].startsWith(path)) << ui.Messages[0].toStdString();
    EXPECT_EQ(ed.ByteAt(ed.FileSize() - 1), static_cast<uint8_t>(bytes[bytes.size() - 1]));

    const QString rescued = dir.filePath(QStringLiteral("rescued.bin"));
    ui.FileAnswers.push_back(rescued);
    Command(frm, "acSaveAs")->trigger();
    TFileFaults::Reset();
    EXPECT_EQ(ReadTestFile(rescued), bytes);
    EXPECT_EQ(ui.Messages.size(), 1);
}

TEST(HelpFileTest, TheReadmeIsFoundBesideTheProgramOrInstalledAndAMissingViewerIsTold)
{
    TFakeUi ui;
    QWidget window;
    TBusyState busy(&window);
    QTemporaryDir root;
    const QString bin = root.filePath(QStringLiteral("usr/bin"));
    const QString doc = root.filePath(QStringLiteral("usr/share/doc/hexcavator/README.md"));
    QDir().mkpath(bin);
    QDir().mkpath(QFileInfo(doc).path());

    THelpFile::Readme().Open(busy, bin);
    ASSERT_EQ(ui.Messages.size(), 1);
    EXPECT_TRUE(ui.Messages[0].contains(QStringLiteral("ヘルプファイルが見つかりません。")));
    EXPECT_TRUE(ui.Opened.isEmpty());

    WriteTestFile(doc, QByteArray("# help"));
    EXPECT_EQ(THelpFile::Readme().Path(bin), doc);
    THelpFile::Readme().Open(busy, bin);
    EXPECT_EQ(ui.Opened, QStringList{doc});
    EXPECT_EQ(ui.Messages.size(), 1);

    ui.OpenFails = true;
    THelpFile::Readme().Open(busy, bin);
    ASSERT_EQ(ui.Messages.size(), 2);
    EXPECT_TRUE(ui.Messages[1].startsWith(doc));
    EXPECT_TRUE(ui.Messages[1].contains(QStringLiteral("開くプログラムがありません")));

    WriteTestFile(bin + QStringLiteral("/README.md"), QByteArray("# beside"));
    EXPECT_EQ(THelpFile::Readme().Path(bin), bin + QStringLiteral("/README.md"));
}
