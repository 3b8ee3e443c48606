#pragma once
// What a compare reads: a fixed number of bytes, read in large blocks at any position.
//
// Contract: Size() does not change while a compare runs; Read fills exactly `count` bytes
// from `pos`, with 0 <= pos and pos + count <= Size(), or throws (std::system_error for I/O,
// std::runtime_error when the bytes are no longer there). The compares call Read with blocks
// of a few MiB, so an implementation may cost one system call per call.
//
// Implementations: TVxDocumentSource (the edited document), TVxFileSource (a file opened
// read-only). Who calls: TVxSourceWindow, for TVxByteCompare and TVxAlignedCompare.

#include <cstdint>

class TVxByteSource {
public:
    // Documents and files are limited to 2147483647 bytes; positions are 64-bit anyway so
    // that sums of offsets never overflow.
    static constexpr int64_t kMaxSize = 2147483647;

    virtual ~TVxByteSource() = default;
    virtual int64_t Size() const = 0;
    virtual void Read(int64_t pos, uint8_t *buf, int32_t count) = 0;
};
