#pragma once
// SIGTERM and SIGHUP as a descriptor that becomes readable, so that the program's event loop
// ends the program the ordinary way (destructors run, the working copy is deleted, the exit
// status is 0) instead of the signal's default action killing it on the spot.
//
// POSIX: a self-pipe. The handler only writes the signal's number into the pipe, which is
// async-signal-safe; everything else happens when the event loop reads it. A port replaces
// this file pair.
//
// A signal that was ignored when the object was made stays ignored: whoever started the
// program asked for that (nohup ignores SIGHUP so that the program outlives its terminal).
//
// One object per process at a time, alive for as long as the signals should be caught.

#include <csignal>

class TTermSignals {
public:
    // Catches SIGTERM and SIGHUP from now on. When the pipe cannot be made, Fd() is -1 and
    // the signals keep their actions.
    TTermSignals();
    // Puts the actions found at construction back and closes the pipe.
    ~TTermSignals();
    TTermSignals(const TTermSignals &) = delete;
    TTermSignals &operator=(const TTermSignals &) = delete;

    // Readable once one of the signals has arrived; non-blocking.
    int Fd() const { return FRead; }
    // Empties the pipe: the last signal caught since the previous call, 0 when none.
    int Take();

private:
    int FRead = -1;
    int FWrite = -1;
    struct sigaction FOldTerm = {};
    struct sigaction FOldHup = {};
};
