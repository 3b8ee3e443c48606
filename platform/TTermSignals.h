#pragma once
// The system's requests to end the program, as a handle that becomes ready, so that the
// program's event loop ends the program the ordinary way (destructors run, the working copy
// is deleted, the exit status is 0) instead of the system's default action killing it on the
// spot. The event loop watches Fd() (app/main's TTermWatch: a socket notifier on POSIX, an
// event notifier on Windows).
//
// POSIX: SIGTERM and SIGHUP, through a self-pipe whose read end is Fd(). The handler only
// writes the signal's number into the pipe, which is async-signal-safe; everything else
// happens when the event loop reads it. A signal that was ignored when the object was made
// stays ignored: whoever started the program asked for that (nohup ignores SIGHUP so that
// the program outlives its terminal).
//
// Windows: the console control events CTRL_C, CTRL_BREAK, CTRL_CLOSE, CTRL_LOGOFF and
// CTRL_SHUTDOWN (SetConsoleCtrlHandler), which reach a program that has a console; Fd() is a
// manual-reset event that the handler sets. The system ends the process as soon as the
// handler returns from CTRL_CLOSE, CTRL_LOGOFF or CTRL_SHUTDOWN, so for those the handler
// waits until this object is destroyed, that is until the program has unwound (or the
// system's grace period of a few seconds is over). CTRL_C and CTRL_BREAK return at once.
// A session that ends while the program has windows arrives as WM_QUERYENDSESSION and
// WM_ENDSESSION instead, which TTermWatch handles in the event loop.
//
// One object per process at a time, alive for as long as the requests should be caught.

#include "TNativeFile.h"

#include <memory>

class TTermSignals {
public:
    // Windows: what Take() returns is kConsoleEvent + the control event (CTRL_C_EVENT is 0).
    static constexpr int kConsoleEvent = 0x100;

    // Catches the requests from now on. When the handle cannot be made, Fd() is kNoFile and
    // the requests keep their default actions.
    TTermSignals();
    // Puts the actions found at construction back and closes the handle.
    ~TTermSignals();
    TTermSignals(const TTermSignals &) = delete;
    TTermSignals &operator=(const TTermSignals &) = delete;

    // Ready once a request has arrived; POSIX non-blocking.
    TNativeFile Fd() const { return FReady; }
    // Makes Fd() not ready again: the last request caught since the previous call (POSIX
    // the signal's number, Windows kConsoleEvent + the event), 0 when none.
    int Take();

private:
    struct TSaved; // POSIX: the actions found for the signals
    TNativeFile FReady = kNoFile;
    TNativeFile FWrite = kNoFile; // POSIX: the pipe's write end
    std::unique_ptr<TSaved> FSaved;
};
