#pragma once
// A running instance_helper (see InstanceHelper.cpp) as the tests drive it: commands go to
// its stdin, its stdout is collected line by line, and waiting for a line polls with a
// deadline while this process's own event loop keeps running (an in-process registry of
// the test answers meanwhile). Destruction closes stdin, waits briefly for the helper to
// end and kills it otherwise.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <functional>

class THelperProcess {
public:
    static constexpr int kDeadlineMs = 15000;

    // Starts the helper with `args`; a non-empty `runtimeDir` becomes the base of its
    // instances' folder (TRuntimeFolder::kVariable).
    explicit THelperProcess(const QStringList &args, const QString &runtimeDir = QString());
    ~THelperProcess();
    THelperProcess(const THelperProcess &) = delete;
    THelperProcess &operator=(const THelperProcess &) = delete;

    void Send(const QString &command);
    // Takes the first line not taken before that starts with `prefix` (other lines stay);
    // the rest of the line after the prefix, or a null string at the deadline or once the
    // helper has ended without saying it.
    QString Take(const QString &prefix, int deadlineMs = kDeadlineMs);
    // Send, then Take.
    QString Ask(const QString &command, const QString &prefix) { Send(command); return Take(prefix); }
    // Whether a line with `prefix` has arrived so far (nothing is taken).
    bool HasLine(const QString &prefix);

    qint64 Pid() const { return FProcess.processId(); }
    // SIGKILL (Windows: TerminateProcess), and wait until it is gone.
    void Kill();
    // Waits for the end; the exit status, or -1 at the deadline or after a crash.
    int WaitExit(int deadlineMs = kDeadlineMs);
    QString AllOutput() const { return FLines.join(QLatin1Char('\n')); }

private:
    void Collect();

    QProcess FProcess;
    QStringList FLines;
    QStringList FUntaken;
    QByteArray FPartial;
};

// Polls `done` while this process's events run, until it holds or `deadlineMs` passed.
bool PollUntil(const std::function<bool()> &done, int deadlineMs = THelperProcess::kDeadlineMs);
