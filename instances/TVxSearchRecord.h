#pragma once
// The shared search record: the search text and ignore-case flag that every instance reads
// from the block "VX_SHAREMEM_SEARCHTEXT" (260 bytes, TVxShareMemStream) after another one
// announced a change.
//
//   offset 0   1 byte   N: bytes in the text field, the terminating zero included (1..255);
//                       0 only in a block nobody has written yet
//   offset 1   1 byte   ignore-case flag, 0 or 1
//   offset 2   N bytes  the text in CP932, then one zero byte
//   then                unused, written as zeros
//   offset 259 1 byte   1 when the text is hexadecimal digits for the bytes sought (a search
//                       made by hex), else 0. The text part can never reach this byte, so a
//                       reader that knows only the fields above reads the same record.
//
// Encoding keeps at most the first 254 bytes of the text (the instance that sets a longer
// one keeps it whole for itself); a zero byte ends the text, as it would for a reader.
// Decoding accepts any bytes, including a record that some other program scribbled: the text
// ends at the first zero byte inside the N counted bytes and inside the bytes given, and is
// never longer than 254 bytes; a non-zero flag byte reads as set. So a reader always gets a
// text that a writer could have stored, never reads past the record, never throws.
//
// Who calls: the editor control's SetSearchText (Store, then the search-text notice) and its
// handler of that notice and its constructor (Load).

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

class TVxShareMemStream;

class TVxSearchRecord {
public:
    static constexpr const char *kBlockName = "VX_SHAREMEM_SEARCHTEXT";
    static constexpr int32_t kSize = 260;
    static constexpr int32_t kMaxText = 254;
    using TBytes = std::array<uint8_t, kSize>;

    static constexpr int32_t kHexOffset = kSize - 1;

    std::string Text;
    bool IgnoreCase = false;
    bool Hex = false;

    static TBytes Encode(const std::string &text, bool ignoreCase, bool hex = false);
    // `length` bytes at `bytes`; fewer than kSize is a record cut short.
    static TVxSearchRecord Decode(const uint8_t *bytes, size_t length);

    // Writes the whole record at position 0 of `block` in one write. Throws
    // EAccessViolation when the block is smaller than a record.
    static void Store(TVxShareMemStream &block, const std::string &text, bool ignoreCase, bool hex = false);
    // Reads the record at position 0 of `block`; never throws.
    static TVxSearchRecord Load(TVxShareMemStream &block);
};
