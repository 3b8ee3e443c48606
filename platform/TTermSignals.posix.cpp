#include "TTermSignals.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

struct TTermSignals::TSaved {
    struct sigaction Term = {};
    struct sigaction Hup = {};
};

namespace {
// The handler sees only this; -1 while no object is alive.
volatile sig_atomic_t gWriteFd = -1;

extern "C" void OnTermSignal(int sig)
{
    const int saved = errno; // the interrupted code may be about to read errno
    const int fd = gWriteFd;
    if (fd >= 0) {
        const unsigned char b = static_cast<unsigned char>(sig);
        // A full pipe already says that a signal is waiting; losing this byte loses nothing.
        [[maybe_unused]] ssize_t n = ::write(fd, &b, 1);
    }
    errno = saved;
}

// Catches sig unless it is ignored now; `old` gets the action found.
void Catch(int sig, struct sigaction &old)
{
    ::sigaction(sig, nullptr, &old);
    if (old.sa_handler == SIG_IGN)
        return;
    struct sigaction sa = {};
    sa.sa_handler = OnTermSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART; // system calls that the signal interrupts go on
    ::sigaction(sig, &sa, nullptr);
}
} // namespace

TTermSignals::TTermSignals() : FSaved(std::make_unique<TSaved>())
{
    int fds[2];
    if (::pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0)
        return;
    FReady = fds[0];
    FWrite = fds[1];
    gWriteFd = FWrite;
    Catch(SIGTERM, FSaved->Term);
    Catch(SIGHUP, FSaved->Hup);
}

TTermSignals::~TTermSignals()
{
    if (FReady < 0)
        return;
    ::sigaction(SIGTERM, &FSaved->Term, nullptr);
    ::sigaction(SIGHUP, &FSaved->Hup, nullptr);
    gWriteFd = -1;
    ::close(FWrite);
    ::close(FReady);
}

int TTermSignals::Take()
{
    int last = 0;
    unsigned char buf[64];
    ssize_t n;
    while (FReady >= 0 && (n = ::read(FReady, buf, sizeof buf)) != 0) {
        if (n < 0) {
            if (errno == EINTR)
                continue;
            break; // EAGAIN: empty
        }
        last = buf[n - 1];
    }
    return last;
}
