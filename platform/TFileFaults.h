#pragma once
// Error-injection seam of the file layer, for tests.
//
// Every write-like operation of TFileHandle and TFileCopy (write, length change, space
// reservation, kernel copy) calls BeforeWrite(); every read calls BeforeRead(). A test arms
// a fault with FailNthWrite(n, err): the n-th write-like operation from now throws
// std::system_error(err) instead of touching the file, exactly as the kernel would have
// failed it. Faults fire once and then disarm. Not thread-safe: the program has one thread.

class TFileFaults {
public:
    static void FailNthWrite(int n, int err);
    static void FailNthRead(int n, int err);
    static void Reset();

    // Number of write-like operations since the last Reset (lets tests prove "no file I/O").
    static long WriteCount();
    static long ReadCount();

    static void BeforeWrite();
    static void BeforeRead();
};
