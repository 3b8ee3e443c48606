#pragma once
// A block of memory that every process of this user opens by the same name: the stand-in for
// a named file mapping backed by the paging file. TVxShareMemStream is its only user.
//
// POSIX: shared memory (shm_open) under the system name "/" + name + "-" + uid, mode 0600,
// mapped read/write.
// Windows: a file mapping backed by the paging file, named "Local\\" + name (the namespace
// of the user's logon session), whose security descriptor names this user as owner and
// admits nobody else (not even the administrators' group).
//
// A name is one name in the namespace, never a path: one holding '/' (or on Windows '\\') is
// refused with EINVAL.
//
// Lifetime on Windows. The system counts the handles and frees the mapping with the last,
// however its holders ended, so a block nobody holds always starts again with zero bytes.
// A mapping cannot grow: the first opener creates it with kMinBytes or `size`, whichever is
// more, and an opener asking for more than an existing mapping holds is refused (ENOSPC)
// until every holder has closed it. The program's one block is far smaller than kMinBytes.
//
// Lifetime on POSIX. A POSIX block outlives its processes until someone unlinks it, so the
// holders count themselves, and the count is kept by the kernel, not in the block: every
// holder keeps a shared flock on it. Closing, a holder that can take the exclusive lock at once is the
// last one and unlinks the name. The kernel drops the locks of a process however it ends, so
// a killed instance never keeps the block alive, and the first holder of a block that nobody
// holds (the leftover of instances that all crashed) starts it again with zero bytes. A
// counter inside the block could not tell a crashed holder from a live one, and the instance
// registry's count is a different question asked at a different moment: an instance that is
// starting has the block open before it is listed, and two closing instances would each see
// the other.
//   Races are settled by the lock: an opener that got its lock on a block that a closer
// unlinked meanwhile sees a link count of 0 and starts over with the name's new block.
//
// A name that someone else (another user) holds, or whose block is open to group or others
// (Windows: owned by another account, or whose DACL admits anyone but this user), is refused
// rather than shared.
//
// Errors: Open throws std::system_error with errno (Windows errors mapped by TWinError) and
// the system name.
// Cost: Open and close are a handful of system calls; Data() is plain memory.

#include "TNativeFile.h"

#include <cstddef>
#include <cstdint>
#include <string>

class TSharedMemBlock {
public:
    // Opens this user's block `name`, creating it (zero bytes) when nobody holds it, with at
    // least `size` bytes; a block made smaller by another opener grows, it never shrinks.
    static TSharedMemBlock Open(const std::string &name, size_t size);
    // The name in the system's namespace: POSIX "/" + name + "-" + uid, Windows "Local\\" + name.
    static std::string SystemName(const std::string &name);

    // Windows: the smallest mapping made, so that any later opener of the program fits.
    static constexpr size_t kMinBytes = 64 * 1024;

    TSharedMemBlock() = default;
    // Unmaps and closes; the last holder unlinks the name.
    ~TSharedMemBlock();
    TSharedMemBlock(TSharedMemBlock &&other) noexcept;
    TSharedMemBlock &operator=(TSharedMemBlock &&other) noexcept;
    TSharedMemBlock(const TSharedMemBlock &) = delete;
    TSharedMemBlock &operator=(const TSharedMemBlock &) = delete;

    bool IsOpen() const { return FView != nullptr; }
    uint8_t *Data() const { return static_cast<uint8_t *>(FView); }
    size_t Size() const { return FSize; }

private:
    void Close() noexcept;

    TNativeFile FFile = kNoFile; // POSIX the shm descriptor, Windows the mapping's handle
    void *FView = nullptr;
    size_t FSize = 0;
    std::string FSystemName;
};
