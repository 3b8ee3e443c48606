#include "TFileFaults.h"

#include <system_error>

namespace {
struct TArmed {
    int countdown = 0; // 0 = disarmed
    int err = 0;
    long seen = 0;
};
TArmed gWrite;
TArmed gRead;

void Step(TArmed &a)
{
    ++a.seen;
    if (a.countdown > 0 && --a.countdown == 0)
        throw std::system_error(a.err, std::generic_category(), "injected fault");
}
} // namespace

void TFileFaults::FailNthWrite(int n, int err) { gWrite.countdown = n; gWrite.err = err; }
void TFileFaults::FailNthRead(int n, int err) { gRead.countdown = n; gRead.err = err; }
void TFileFaults::Reset() { gWrite = {}; gRead = {}; }
long TFileFaults::WriteCount() { return gWrite.seen; }
long TFileFaults::ReadCount() { return gRead.seen; }
void TFileFaults::BeforeWrite() { Step(gWrite); }
void TFileFaults::BeforeRead() { Step(gRead); }
