#include "THelperProcess.h"

#include "TRuntimeFolder.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcessEnvironment>

bool PollUntil(const std::function<bool()> &done, int deadlineMs)
{
    const QDeadlineTimer deadline(deadlineMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

THelperProcess::THelperProcess(const QStringList &args, const QString &runtimeDir)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!runtimeDir.isEmpty())
        env.insert(QLatin1String(TRuntimeFolder::kVariable), runtimeDir);
    FProcess.setProcessEnvironment(env);
    FProcess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    FProcess.start(QStringLiteral(INSTANCE_HELPER), args);
}

THelperProcess::~THelperProcess()
{
    if (FProcess.state() == QProcess::NotRunning)
        return;
    FProcess.closeWriteChannel();
    if (!FProcess.waitForFinished(3000)) {
        FProcess.kill();
        FProcess.waitForFinished(3000);
    }
}

void THelperProcess::Send(const QString &command)
{
    FProcess.write((command + QLatin1Char('\n')).toUtf8());
    FProcess.waitForBytesWritten(1000);
}

void THelperProcess::Collect()
{
    FPartial += FProcess.readAllStandardOutput();
    int end;
    while ((end = FPartial.indexOf('\n')) >= 0) {
        // Windows writes text lines with "\r\n".
        const QString line = QString::fromUtf8(FPartial.left(end)).remove(QLatin1Char('\r'));
        FPartial.remove(0, end + 1);
        FLines << line;
        FUntaken << line;
    }
}

bool THelperProcess::HasLine(const QString &prefix)
{
    Collect();
    for (const QString &l : FUntaken)
        if (l.startsWith(prefix))
            return true;
    return false;
}

QString THelperProcess::Take(const QString &prefix, int deadlineMs)
{
    QString found;
    PollUntil(
        [&] {
            if (FProcess.state() == QProcess::Starting)
                FProcess.waitForStarted(10);
            FProcess.waitForReadyRead(1);
            Collect();
            for (int i = 0; i < FUntaken.size(); ++i)
                if (FUntaken[i].startsWith(prefix)) {
                    found = FUntaken.takeAt(i).mid(prefix.size());
                    if (found.isNull())
                        found = QLatin1String("");
                    return true;
                }
            // A helper that has ended and said everything will not say it any more.
            return FProcess.state() == QProcess::NotRunning && FProcess.bytesAvailable() == 0;
        },
        deadlineMs);
    return found;
}

void THelperProcess::Kill()
{
    FProcess.kill();
    FProcess.waitForFinished(kDeadlineMs);
}

int THelperProcess::WaitExit(int deadlineMs)
{
    // waitForFinished is false for a process that has already ended.
    if (FProcess.state() != QProcess::NotRunning && !FProcess.waitForFinished(deadlineMs))
        return -1;
    Collect();
    return FProcess.exitStatus() == QProcess::NormalExit ? FProcess.exitCode() : -1;
}
