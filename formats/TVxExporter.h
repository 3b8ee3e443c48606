#pragma once
// Writes a range of a document, through an encoder, to a file: streamed a block at a time
// (the document read with ReadInto in blocks of 256 KiB, the text appended to a buffer that
// is handed to a TVxBackgroundWriter when it passes 512 KiB, and written on that thread
// while the next is encoded), so memory stays flat whatever the range. Buffers this small
// stay in the cache between the encoder and the system's copy into the file, which is most
// of an export's time.
//
// The text goes to a new file in the target's folder that takes the target's name only once
// it is complete (replacing a file of that name); a failure or a cancel removes it and
// leaves the target as it was. Progress: one cancellable operation over the range.
//
// Errors: std::system_error for the files, TVxCancelled. Who calls: the export commands of
// the program (app/formats); the benchmarks; tests.

#include <cstdint>
#include <functional>
#include <string>

class TVxByteEncoder;
class TVxDocument;
class TVxProgress;

class TVxExporter {
public:
    // The bytes [offset, offset + count) of doc, encoded, into fileName.
    static void Export(const TVxDocument &doc, int32_t offset, int32_t count, TVxByteEncoder &encoder,
                       const std::string &fileName, TVxProgress *progress);
    // The same text in memory, for the clipboard: the caller has bounded count.
    static std::string Encode(const TVxDocument &doc, int32_t offset, int32_t count, TVxByteEncoder &encoder,
                              TVxProgress *progress);
    // Throws TVxFormatError(AddressTooHigh) when count bytes from startAddress go past the
    // 32-bit addresses of Intel HEX and S-records.
    static void CheckAddresses(uint32_t startAddress, int64_t count);

private:
    // Feeds the range through the encoder; `drain` takes the text whenever it has grown past
    // a few MiB, and once more at the end.
    static void Stream(const TVxDocument &doc, int32_t offset, int32_t count, TVxByteEncoder &encoder,
                       TVxProgress *progress, const std::function<void(std::string &text)> &drain);
};
