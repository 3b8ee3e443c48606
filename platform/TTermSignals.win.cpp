#include "TTermSignals.h"

#include <atomic>
#include <windows.h>

struct TTermSignals::TSaved {};

namespace {
// What the handler, on a thread of the system's, sees: the live object's event (null while
// none is alive) and the last event caught.
std::atomic<HANDLE> gReady{nullptr};
std::atomic<int> gLast{0};

// Set when the live object goes, so that a handler holding back the end of the process may
// return. Made once and never closed: a handler may still be waiting on it.
HANDLE Unwound()
{
    static const HANDLE unwound = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return unwound;
}

BOOL WINAPI OnConsoleEvent(DWORD type)
{
    const HANDLE ready = gReady.load();
    if (!ready)
        return FALSE; // the next handler, by default the process's end
    if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT && type != CTRL_CLOSE_EVENT && type != CTRL_LOGOFF_EVENT &&
        type != CTRL_SHUTDOWN_EVENT)
        return FALSE;
    gLast = TTermSignals::kConsoleEvent + int(type);
    ::SetEvent(ready);
    // Returning from these ends the process: not before the program has unwound. The system
    // gives up waiting after its grace period and ends the process anyway.
    if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT && Unwound())
        ::WaitForSingleObject(Unwound(), INFINITE);
    return TRUE;
}
} // namespace

TTermSignals::TTermSignals()
{
    const HANDLE ready = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!ready)
        return;
    // Set by an earlier object's end, when there was one.
    if (Unwound())
        ::ResetEvent(Unwound());
    if (!::SetConsoleCtrlHandler(OnConsoleEvent, TRUE)) {
        ::CloseHandle(ready);
        return;
    }
    FReady = ready;
    gLast = 0;
    gReady = ready;
}

TTermSignals::~TTermSignals()
{
    if (FReady == kNoFile)
        return;
    ::SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
    gReady = nullptr;
    if (Unwound())
        ::SetEvent(Unwound());
    ::CloseHandle(FReady);
}

int TTermSignals::Take()
{
    if (FReady == kNoFile)
        return 0;
    ::ResetEvent(FReady);
    return gLast.exchange(0);
}
