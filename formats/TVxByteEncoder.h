#pragma once
// Turns a stream of bytes into text, a block at a time, so that a range of any size is
// written with a buffer of one block: the exporter and the copy commands feed a range's
// bytes in order and append what comes out to their buffer.
//
// Order of calls: Begin once, Add for each block of the range in order (blocks of any size),
// Finish once. An encoder is used for one range.

#include <cstddef>
#include <cstdint>
#include <string>

class TVxByteEncoder {
public:
    virtual ~TVxByteEncoder() = default;
    virtual void Begin(std::string &out) = 0;
    virtual void Add(const uint8_t *data, size_t count, std::string &out) = 0;
    virtual void Finish(std::string &out) = 0;
};
