#pragma once
// The Windows error codes the program meets, as the errno values that mean the same, so
// that the layers above test one set of codes (EACCES: refused, ENOENT: missing, ENOSPC:
// full, EEXIST: taken) and show one kind of message whatever the system.
//
// Only the Windows files of platform/ use it.

#include <string>

class TWinError {
public:
    // errno for a GetLastError() value; EIO for anything without a counterpart.
    static int ToErrno(unsigned long winError);
    // Sets errno from GetLastError() and returns it: for calls that report by errno.
    static int SetErrno();
    // Throws std::system_error (generic category, the mapped errno) naming `what`.
    [[noreturn]] static void Throw(const std::string &what);
    [[noreturn]] static void Throw(unsigned long winError, const std::string &what);
};
