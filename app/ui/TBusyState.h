#pragma once
// The busy state of one main window: while long work runs, the hourglass shows, the window
// is disabled (so no command can start in the middle) and TBusyProgress shows how far the
// work is and offers to cancel it. Also the one place that shows a message box for the
// window and turns a failed operation into one.
//
// Nested: the first Begin shows the hourglass and disables the window, the matching last End
// undoes both and gives the focus back. Use TBusy to pair them even when work throws.
//
// Who calls: the main window owns one and hands it to every feature (TFeatureContext);
// features run their editor operations through Run() and show their messages with Message().

#include "TBusyProgress.h"

#include <QPointer>
#include <QWidget>
#include <QString>
#include <functional>

class QWidget;

class TBusyState {
public:
    explicit TBusyState(QWidget *window);
    ~TBusyState();
    TBusyState(const TBusyState &) = delete;
    TBusyState &operator=(const TBusyState &) = delete;

    // The window that the busy state disables and that owns the message boxes.
    QWidget *Window() const { return FWindow; }
    // What the busy state shows of long work; the editor reports to it.
    TBusyProgress &Progress() { return FProgress; }

    void Begin();
    void End();
    int Depth() const { return FDepth; }
    // The name of the operation running in the busy state ("" for none given); the progress
    // window shows it.
    void SetCaption(const QString &caption);
    QString Caption() const { return FCaption; }

    // Runs an editor operation; an exception becomes a stop-icon message box. `busy` wraps it
    // in the busy state, whose progress window shows `caption` when the work takes long.
    // False when it failed or was cancelled.
    bool Run(const std::function<void()> &work, bool busy = false, const QString &caption = QString());
    // A message box of the program (through TUiServices), owned by the window unless the busy
    // state has disabled it; returns the button pressed.
    int Message(const QString &text, unsigned flags);

private:
    QPointer<QWidget> FWindow;
    QPointer<QWidget> FFocusBefore;
    int FDepth = 0;
    QString FCaption;
    TBusyProgress FProgress;
};

class TBusy {
public:
    // Names the operation for the progress window (an empty caption keeps an outer one).
    explicit TBusy(TBusyState &state, const QString &caption = QString()) : FState(state)
    {
        FState.Begin();
        if (!caption.isEmpty())
            FState.SetCaption(caption);
    }
    ~TBusy() { FState.End(); }
    TBusy(const TBusy &) = delete;
    TBusy &operator=(const TBusy &) = delete;

private:
    TBusyState &FState;
};
