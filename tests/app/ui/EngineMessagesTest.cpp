// The engine reports in types; the user reads the program's words, exactly as they have
// always been: the document's questions and notices, and its errors, through every way the
// window shows them.

#include "FakeUi.h"
#include "TEngineMessages.h"
#include "TEngineQuestions.h"
#include "TVxMessageBox.h"
#include "TVxError.h"

#include <QCoreApplication>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>
#ifndef _WIN32
#include <unistd.h>
#endif

namespace {
struct EngineMessagesTest : TWindowTest {
#ifndef _WIN32
    // A named pipe: the engine neither opens nor saves over it, and says so by kind.
    QString Fifo(const QString &name)
    {
        const QString p = dir.filePath(name);
        EXPECT_EQ(::mkfifo(p.toUtf8().constData(), 0600), 0);
        return p;
    }
#endif
};
} // namespace

TEST_F(EngineMessagesTest, AFileChangedOnDiskIsAskedAboutBeforeItIsOverwritten)
{
    const QString f = dir.filePath(QStringLiteral("c.bin"));
    WriteTestFile(f, "abc");
    OpenWritable(frm, f);
    ed.OverwriteByte(0, 'Z', true);
    const QString theirs = dir.filePath(QStringLiteral("theirs.tmp"));
    WriteTestFile(theirs, "xy");
    ASSERT_TRUE(QFile::remove(f));
    ASSERT_TRUE(QFile::rename(theirs, f));

    ui.Messages.clear();
    ui.Flags.clear();
    ui.Answers = {idNo};
    Command(frm, "acSave")->trigger();
    ASSERT_EQ(ui.Messages.size(), 1); // the question, and no failure report after it
    EXPECT_EQ(ui.Messages[0], QStringLiteral("ファイルは開いた後に他のプログラムによって変更されています。上書きしますか？"));
    EXPECT_EQ(ui.Flags[0], unsigned(mbYesNo | mbIconQuestion));
    EXPECT_EQ(ReadTestFile(f), QByteArray("xy"));
}

#ifndef _WIN32 // Windows file systems hold no FIFOs
TEST_F(EngineMessagesTest, ErrorsOfOpenAndSaveAreWordedAsBefore)
{
    const QString fifo = Fifo(QStringLiteral("pipe"));
    ui.Messages.clear();
    frm.OpenFile(fifo);
    ASSERT_EQ(ui.Messages.size(), 1);
    EXPECT_EQ(ui.Messages[0], fifo + QStringLiteral("\r\n通常のファイルではないため開けません。"));
    EXPECT_EQ(ui.Flags.last(), unsigned(mbIconStop));

    ed.InsertByte(0, 1, true);
    ui.FileAnswers = {fifo};
    Command(frm, "acSaveAs")->trigger();
    ASSERT_EQ(ui.Messages.size(), 2);
    EXPECT_EQ(ui.Messages[1], fifo + QStringLiteral("\r\nファイルを保存できませんでした。\r\n") + fifo +
                                  QStringLiteral("\r\n通常のファイルではないため保存できません。"));
}
#endif

TEST(EngineQuestionsTest, NoticesAndTheRemainingErrorsInTheirWords)
{
    QStringList shown;
    QList<unsigned> flags;
    QObject owner;
    TEngineQuestions questions(&owner, [&](const QString &text, unsigned f) {
        shown << text;
        flags << f;
        return int(idOK);
    });
    questions.JournalRecovered("/d/a.bin");
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0], QStringLiteral("/d/a.bin\r\n前回の保存が途中で中断されていたため、保存する前の内容に戻しました。"));
    EXPECT_EQ(flags[0], unsigned(mbOK | mbIconInformation));

    // Noticed inside a read, perhaps a paint: shown only from the event loop.
    questions.WorkCopyFull("/d/a.bin", "/tmp/x: No space left on device");
    EXPECT_EQ(shown.size(), 1);
    QCoreApplication::processEvents();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[1], QStringLiteral("/d/a.bin\r\n一時フォルダに変更を書き込めないため、編集した場所から離れられません。\r\n"
                                       "/tmp/x: No space left on device\r\n"
                                       "表示、移動、元に戻すはこのまま使えます。空きのあるディスクに名前を付けて保存してください。"));
    EXPECT_EQ(flags[1], unsigned(mbOK | mbIconWarning));

    EXPECT_EQ(TEngineMessages::TextOf(TVxError(TVxErrorKind::SaveFailedCopyKept, "/d/a.bin", "EIO", "/t/a.orig")),
              QStringLiteral("/d/a.bin\r\nEIO\r\n元の内容は /t/a.orig に残っています。"));
    EXPECT_EQ(TEngineMessages::TextOf(TVxError(TVxErrorKind::PatchNotRolledBack, "/d/a.bin", "EIO")),
              QStringLiteral("/d/a.bin\r\nEIO\r\n保存を元に戻せませんでした。次にこのファイルを開くときに元の内容に戻します。"));
    EXPECT_EQ(TEngineMessages::TextOf(TVxError(TVxErrorKind::EditTooLarge)),
              QStringLiteral("ファイルサイズが上限の 2147483647 バイトを超えるため、編集できません。"));
    EXPECT_EQ(TEngineMessages::NoWorkCopy("/nowhere: No such file or directory"),
              QStringLiteral("作業用ファイルを一時フォルダに作成できません。\r\n/nowhere: No such file or directory"));
    // Anything else speaks for itself.
    EXPECT_EQ(TEngineMessages::TextOf(std::runtime_error("/d/a.bin: No space left on device")),
              QStringLiteral("/d/a.bin: No space left on device"));
}
