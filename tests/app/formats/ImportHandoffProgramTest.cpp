// The real program adopts an image handed to it in its environment, as the import command
// of another instance hands it: the handed file is gone once the new instance has taken it,
// and the variables reach no instance it starts in turn (they are out of its environment).

#include "TImportHandoff.h"
#include "TPrivateProgram.h"

#include <QTest>

namespace {
// Sets an environment variable while it lives, then restores it (or its absence).
struct TVariable {
    const char *Name;
    bool WasSet = qEnvironmentVariableIsSet(Name);
    QByteArray Saved = qgetenv(Name);
    TVariable(const char *name, const QString &value) : Name(name) { qputenv(Name, value.toUtf8()); }
    ~TVariable()
    {
        if (WasSet)
            qputenv(Name, Saved);
        else
            qunsetenv(Name);
    }
};

// Makes a handed image in the private folder of `tmp`, as the importing instance would.
QString HandedImage(const QString &tmp, const QByteArray &bytes)
{
    TTempFile image;
    {
        // $TMPDIR, and GetTempPathW's variable.
        TVariable tmpdir("TMPDIR", tmp), tmpWin("TMP", tmp);
        image = TImportHandoff::Create();
    }
    image.Handle().WriteAt(0, bytes.data(), static_cast<size_t>(bytes.size()));
    image.Keep();
    return QString::fromStdString(image.Name());
}
} // namespace

TEST(ImportHandoffProgramTest, TheNewInstanceTakesTheImageAndDeletesIt)
{
    TPrivateProgram p;
    ASSERT_NO_FATAL_FAILURE(p.Prepare());
    const QString image = HandedImage(p.Tmp, QByteArray(5000, 'i'));
    ASSERT_TRUE(QFile::exists(image));

    QProcess proc;
    QProcessEnvironment env = p.Environment();
    env.insert(QString::fromLatin1(TImportHandoff::kImageVariable), image);
    env.insert(QString::fromLatin1(TImportHandoff::kStartVariable), QStringLiteral("100"));
    proc.setProcessEnvironment(env);
    proc.setProcessChannelMode(QProcess::MergedChannels);
    proc.start(p.Program, {});
    ASSERT_TRUE(proc.waitForStarted(TPrivateProgram::kDeadlineMs)) << proc.errorString().toStdString();
    const bool taken = QTest::qWaitFor([&] { return !QFile::exists(image) || proc.state() == QProcess::NotRunning; },
                                       TPrivateProgram::kDeadlineMs);
    EXPECT_TRUE(taken && proc.state() == QProcess::Running) << proc.readAll().toStdString();
    EXPECT_FALSE(QFile::exists(image));
    proc.kill();
    proc.waitForFinished(TPrivateProgram::kDeadlineMs);
}
