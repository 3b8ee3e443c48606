#pragma once
// What the operating system calls an open file: a descriptor on POSIX systems, a HANDLE on
// Windows (void *, so this header needs no <windows.h>). Only platform/ looks inside; the
// engine passes TFileHandle and TDirHandle around.

#include <cstdint>

#ifdef _WIN32
using TNativeFile = void *;
// INVALID_HANDLE_VALUE, which CreateFileW returns on failure.
inline const TNativeFile kNoFile = reinterpret_cast<TNativeFile>(intptr_t(-1));
#else
using TNativeFile = int;
inline constexpr TNativeFile kNoFile = -1;
#endif
