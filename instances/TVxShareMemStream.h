#pragma once
// A byte stream over a named block of memory shared by every instance of the program: what
// one instance writes, the others read. The editor control keeps the shared search record
// in the block "VX_SHAREMEM_SEARCHTEXT" of 260 bytes (TVxSearchRecord); the class itself
// takes any name and size.
//
// The block is this user's alone (TSharedMemBlock: POSIX "/" + name + "-" + uid, mode 0600;
// Windows "Local\\" + name, open to this user only). The first instance creates it with zero
// bytes, later ones get the same memory; it disappears when the last instance closes its
// stream (or, after a crash of all of them, starts again with zero bytes): nothing survives
// a time when no instance runs.
//
// Stream rules, on signed 32-bit positions and counts:
//   Read copies min(count, Size - Position) bytes and advances; 0 when Position or count is
//     negative or nothing is left. Reads never throw.
//   Write copies all `count` bytes or none: 0 (nothing written) when Position < 0, count < 0
//     or Position + count <= 0; EAccessViolation "共有メモリを逸脱した書き込み" when it would
//     end beyond Size, Position unchanged.
//   Seek(offset, origin): 0 from the beginning, 1 from the current position, 2 from the
//     end; any other origin leaves Position. Never clamps: a position before 0 or beyond
//     Size stays as set, and later reads give 0 there, writes 0 (before 0) or the error.
//   SetSize does nothing: the size is the one given at construction.
//
// No lock between processes: a record is written whole before the other instances are told
// to read it, and two writers at the same moment leave whatever was written last.
// Cost: construction opens and maps the block (a few system calls); the rest is memcpy.
// One thread (the user interface's) uses a stream.

#include "TSharedMemBlock.h"

#include <cstdint>
#include <string>

class TVxShareMemStream {
public:
    enum TOrigin : int { soBeginning = 0, soCurrent = 1, soEnd = 2 };

    // Creates this user's block `name` of `size` bytes, or opens it when it exists.
    // Throws EFCreateError "共有メモリ[" + name + "]を開けません" when the system refuses.
    TVxShareMemStream(const std::string &name, int32_t size);
    // Unmaps and closes the block; the last instance's close removes it.
    ~TVxShareMemStream() = default;
    TVxShareMemStream(const TVxShareMemStream &) = delete;
    TVxShareMemStream &operator=(const TVxShareMemStream &) = delete;

    int32_t Read(void *buffer, int32_t count);
    int32_t Write(const void *buffer, int32_t count);
    int32_t Seek(int32_t offset, int origin);

    int32_t Position() const { return FPosition; }
    void SetPosition(int32_t position) { Seek(position, soBeginning); }
    int32_t Size() const { return FSize; }
    void SetSize(int32_t) {}

private:
    TSharedMemBlock FMapping;
    int32_t FSize = 0;
    int32_t FPosition = 0;
};
