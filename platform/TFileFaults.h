#pragma once
// Error-injection seam of the file layer, for tests.
//
// Every write-like operation of TFileHandle and TFileCopy (write, length change, space
// reservation, flush to disk, kernel copy) calls BeforeWrite(fd) with the file it changes;
// every read calls BeforeRead(). A test arms a fault with FailNthWrite(n, err): the n-th
// write-like operation from now throws std::system_error(err) instead of touching the file,
// exactly as the kernel would have failed it. Such faults fire once and then disarm.
// FailWritesTo(fd, err) makes every write to one file fail until Reset, as a full disk
// does; CallAtNthWrite runs a function instead (a crash test kills its process there).
// Not thread-safe: the program has one thread.

#include "TNativeFile.h"

class TFileFaults {
public:
    static void FailNthWrite(int n, int err);
    static void FailNthRead(int n, int err);
    static void FailWritesTo(TNativeFile fd, int err);
    static void CallAtNthWrite(int n, void (*fn)());
    static void Reset();

    // Number of write-like operations since the last Reset (lets tests prove "no file I/O").
    static long WriteCount();
    static long ReadCount();

    static void BeforeWrite(TNativeFile fd);
    static void BeforeRead();
};
