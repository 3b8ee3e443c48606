#pragma once
// The system's requests to end the program, delivered from the event loop: `onEnd` runs there
// each time one arrives, and the caller leaves the loop. What counts as such a request:
//   POSIX    SIGTERM and SIGHUP (TTermSignals' pipe, watched with a socket notifier).
//   Windows  the console control events (TTermSignals' event, watched with an event
//            notifier), and the session's end as the window system tells it, which a
//            native event filter sees for every top-level window: WM_QUERYENDSESSION is
//            answered "yes" at once and ends the program right away, because Windows
//            terminates a program the moment it returns from WM_ENDSESSION, with no time
//            left to unwind; WM_ENDSESSION ending the session counts too (it comes alone
//            when the session is forced). A shutdown that another program then cancels
//            finds this one ended, as after SIGTERM.
// The program asks nothing about unsaved changes then: it cannot hold up the end of a
// session, and the working copy goes with the destructors.
//
// One file per system (TTermWatch.posix.cpp, TTermWatch.win.cpp), chosen by app/main's
// CMakeLists.txt.
// Who calls: THexApplication, for the application's lifetime.

#include <functional>
#include <memory>

class TTermWatch {
public:
    explicit TTermWatch(std::function<void()> onEnd);
    ~TTermWatch();
    TTermWatch(const TTermWatch &) = delete;
    TTermWatch &operator=(const TTermWatch &) = delete;

private:
    struct TImpl;
    std::unique_ptr<TImpl> F;
};
