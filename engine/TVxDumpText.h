#pragma once
// The hexadecimal dump line: "0000010: A0 A1 ..." with the bytes grouped by the column
// width, blanks for offsets outside the range. Copy-as-text and printing both produce it.

#include <cstdint>
#include <string>

class TVxDocument;

class TVxDumpText {
public:
    // Line `line` covers offsets 16*line .. 16*line+15; only those inside [rangeStart, rangeEnd]
    // are shown. `groupSize` is 1, 2, 4, 8 or 16. Without the header the line has no address
    // and starts with the first separator blank. Trailing blanks are kept. Reads the bytes
    // through the document's cache window.
    static std::string GetDumpLine(TVxDocument &doc, int32_t rangeStart, int32_t rangeEnd, int32_t line,
                                   int groupSize, bool hideOffsetHeader);
    // The same line from bytes the caller already holds: row[k] is the byte at 16*line + k,
    // read only for the offsets shown (inside the range and below fileSize). Printing reads
    // its rows in large blocks and formats them with this.
    static std::string FormatDumpLine(const uint8_t *row, int32_t rangeStart, int32_t rangeEnd, int32_t fileSize,
                                      int32_t line, int groupSize, bool hideOffsetHeader);
    // Every line of the range a..b (in either order), each followed by LF: the text goes to
    // the clipboard, where Qt and the programs that paste it expect plain line feeds.
    static std::string DumpRange(TVxDocument &doc, int32_t a, int32_t b, int groupSize, bool hideOffsetHeader);
};
