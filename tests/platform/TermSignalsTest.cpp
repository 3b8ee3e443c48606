// SIGTERM and SIGHUP become a readable descriptor while caught, ignored ones stay ignored, and
// the actions found before come back afterwards.

#include "TTermSignals.h"

#include <csignal>
#include <gtest/gtest.h>
#include <poll.h>

namespace {
bool Readable(int fd, int timeoutMs)
{
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, timeoutMs) == 1 && (p.revents & POLLIN);
}

void (*ActionOf(int sig))(int)
{
    struct sigaction sa = {};
    ::sigaction(sig, nullptr, &sa);
    return sa.sa_handler;
}

// Gives both signals a known action for the test, whatever the test was started with.
struct TermSignalsTest : ::testing::Test {
    void (*OldTerm)(int) = std::signal(SIGTERM, SIG_DFL);
    void (*OldHup)(int) = std::signal(SIGHUP, SIG_DFL);
    ~TermSignalsTest() override
    {
        std::signal(SIGTERM, OldTerm);
        std::signal(SIGHUP, OldHup);
    }
};
} // namespace

TEST_F(TermSignalsTest, CaughtSignalsWakeTheDescriptorInsteadOfEndingTheProcess)
{
    {
        TTermSignals signals;
        ASSERT_GE(signals.Fd(), 0);
        EXPECT_FALSE(Readable(signals.Fd(), 0));
        EXPECT_EQ(signals.Take(), 0);

        for (int sig : {SIGTERM, SIGHUP}) {
            ASSERT_EQ(::raise(sig), 0); // still alive after this line
            ASSERT_TRUE(Readable(signals.Fd(), 5000)) << sig;
            EXPECT_EQ(signals.Take(), sig);
            EXPECT_FALSE(Readable(signals.Fd(), 0)) << "Take empties the pipe";
        }

        // Several before the loop looks: one wake-up, the last one reported.
        ::raise(SIGHUP);
        ::raise(SIGTERM);
        ASSERT_TRUE(Readable(signals.Fd(), 5000));
        EXPECT_EQ(signals.Take(), SIGTERM);
    }
    EXPECT_EQ(ActionOf(SIGTERM), SIG_DFL);
    EXPECT_EQ(ActionOf(SIGHUP), SIG_DFL);
}

TEST_F(TermSignalsTest, AnIgnoredSignalStaysIgnored)
{
    std::signal(SIGHUP, SIG_IGN); // as nohup starts a program
    {
        TTermSignals signals;
        EXPECT_EQ(ActionOf(SIGHUP), SIG_IGN);
        EXPECT_NE(ActionOf(SIGTERM), SIG_DFL);
        ASSERT_EQ(::raise(SIGHUP), 0);
        EXPECT_FALSE(Readable(signals.Fd(), 0));
    }
    EXPECT_EQ(ActionOf(SIGHUP), SIG_IGN);
    EXPECT_EQ(ActionOf(SIGTERM), SIG_DFL);
}
