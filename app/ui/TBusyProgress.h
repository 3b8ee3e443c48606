#pragma once
// What the busy state shows of long work: the engine's progress reports (TVxProgress) made
// visible and cancellable.
//
// Attached to the editor for the window's lifetime, it ignores reports outside the busy
// state. Inside it, it lets the window repaint (pending events are processed every ~40 ms,
// socket notifiers excluded so no other instance reaches in, and the busy state keeps the
// main window disabled, so no command can start) and, once the work has run for about
// 300 ms, shows a small window with the operation's name (the busy caption), a bar with the
// percentage and, while the current step is cancellable, a "キャンセル" button; Esc in that
// window presses it. A cancel request is answered by throwing TVxCancelled from the next
// cancellable report; the operation then leaves everything as it was. A request while the
// work cannot stop is dropped at the next report.
//
// Who calls: TBusyState starts and finishes it and names the operation; the engine reports.

#include "TVxProgress.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

class QProgressDialog;
class QWidget;

class TBusyProgress : public TVxProgress {
public:
    static constexpr int kShowAfterMs = 300;

    TBusyProgress();
    ~TBusyProgress() override;

    void Report(int64_t done, int64_t total, bool cancellable) override;

    // The busy state began (depth 0 to 1; the window appears centred over `centreOn`) or
    // ended (1 to 0).
    void Start(QWidget *centreOn);
    void Finish();
    // Takes the window away while the work is still inside the busy state, before a message
    // about its result: a window left at 97 % behind the message would look like work still
    // running. Later reports may show it again.
    void Dismiss();
    // The operation's name; a nested step (the save before an open) names itself, and the
    // window follows.
    void SetCaption(const QString &caption) { FCaption = caption; }

    // For tests: the window once shown, or nullptr.
    QProgressDialog *Window() const { return FWindow.get(); }
    bool CancelRequested() const { return FCancel; }
    // Test seam: the milliseconds since the busy state began, in place of the wall clock (an
    // empty function restores it). A test that advances it by 100 per call has events handled
    // at every report and sees the window from the third one on, whatever the machine's speed.
    void SetClock(std::function<qint64()> elapsedMs) { FTestClock = std::move(elapsedMs); }

private:
    // Sizes the window to its caption, bar and button, whichever are shown now.
    void Fit();
    void Show();

    qint64 Elapsed() const { return FTestClock ? FTestClock() : FClock.elapsed(); }

    QElapsedTimer FClock;
    std::function<qint64()> FTestClock;
    qint64 FLastPump = 0;
    qint64 FShownAt = 0; // when the window last went (Dismiss): it waits again before it returns
    bool FActive = false;
    bool FCancel = false;
    bool FCancellable = false;
    std::unique_ptr<QProgressDialog> FWindow;
    QPointer<QWidget> FCentreOn;
    QString FCaption;
};
