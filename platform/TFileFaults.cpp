#include "TFileFaults.h"

#include <system_error>

namespace {
struct TArmed {
    int countdown = 0; // 0 = disarmed
    int err = 0;
    long seen = 0;
    void (*call)() = nullptr;
};
TArmed gWrite;
TArmed gRead;
TNativeFile gFullFd = kNoFile;
int gFullErr = 0;

void Step(TArmed &a)
{
    ++a.seen;
    if (a.countdown > 0 && --a.countdown == 0) {
        if (a.call)
            a.call();
        else
            throw std::system_error(a.err, std::generic_category(), "injected fault");
    }
}
} // namespace

void TFileFaults::FailNthWrite(int n, int err) { gWrite.countdown = n; gWrite.err = err; gWrite.call = nullptr; }
void TFileFaults::FailNthRead(int n, int err) { gRead.countdown = n; gRead.err = err; }
void TFileFaults::FailWritesTo(TNativeFile fd, int err) { gFullFd = fd; gFullErr = err; }
void TFileFaults::CallAtNthWrite(int n, void (*fn)()) { gWrite.countdown = n; gWrite.call = fn; }
void TFileFaults::Reset() { gWrite = {}; gRead = {}; gFullFd = kNoFile; }
long TFileFaults::WriteCount() { return gWrite.seen; }
long TFileFaults::ReadCount() { return gRead.seen; }

void TFileFaults::BeforeWrite(TNativeFile fd)
{
    if (fd != kNoFile && fd == gFullFd)
        throw std::system_error(gFullErr, std::generic_category(), "injected fault");
    Step(gWrite);
}

void TFileFaults::BeforeRead() { Step(gRead); }
