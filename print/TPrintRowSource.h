#pragma once
// The bytes of the rows a print job prints, read in ascending order through the document's
// bulk reads (TVxDocument::ReadInto): one read per block of about 64 KiB, so a job over any
// range costs one sequential pass and a buffer of fixed size, and the cache window the view
// uses stays where it is.
//
// Who calls: TPrintPages, once per printed line, with rising offsets.

#include <cstdint>
#include <vector>

class TVxDocument;

class TPrintRowSource {
public:
    static constexpr int32_t kBlock = 65536;

    explicit TPrintRowSource(const TVxDocument &doc);

    // The bytes [from, end) of the document (end - from <= 32, end <= FileSize), valid until
    // the next call. Calls must not go backwards by more than the slack a block keeps (the
    // three bytes a row's text starts early).
    const uint8_t *Bytes(int64_t from, int64_t end);

private:
    const TVxDocument &FDoc;
    std::vector<uint8_t> FBuffer;
    int64_t FStart = 0; // document offset of FBuffer[0]
    int64_t FEnd = 0;   // one past the last byte held
};
