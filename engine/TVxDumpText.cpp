#include "TVxDumpText.h"

#include "TVxDocument.h"

#include <algorithm>
#include <cstdio>

std::string TVxDumpText::GetDumpLine(TVxDocument &doc, int32_t rangeStart, int32_t rangeEnd, int32_t line,
                                     int groupSize, bool hideOffsetHeader)
{
    const int32_t offset = line * 16;
    const int32_t size = doc.FileSize();
    uint8_t row[16] = {};
    for (int k = 0; k < 16; ++k) {
        const int32_t at = offset + k;
        if (at >= rangeStart && at <= rangeEnd && at < size)
            row[k] = doc.ByteAt(at);
    }
    return FormatDumpLine(row, rangeStart, rangeEnd, size, line, groupSize, hideOffsetHeader);
}

std::string TVxDumpText::FormatDumpLine(const uint8_t *row, int32_t rangeStart, int32_t rangeEnd, int32_t fileSize,
                                        int32_t line, int groupSize, bool hideOffsetHeader)
{
    static const char kHex[] = "0123456789ABCDEF";
    if (groupSize < 1)
        groupSize = 1;
    const int32_t offset = line * 16;
    std::string out;
    out.reserve(60);
    if (!hideOffsetHeader) {
        char addr[16];
        std::snprintf(addr, sizeof addr, "%07X:", static_cast<unsigned>(offset));
        out += addr;
    }
    for (int k = 0; k < 16; ++k) {
        if (k % groupSize == 0)
            out += ' ';
        const int32_t at = offset + k;
        if (at < rangeStart || at > rangeEnd || at >= fileSize) {
            out += "  ";
        } else {
            const uint8_t b = row[k];
            out += kHex[b >> 4];
            out += kHex[b & 15];
        }
    }
    return out;
}

std::string TVxDumpText::DumpRange(TVxDocument &doc, int32_t a, int32_t b, int groupSize, bool hideOffsetHeader)
{
    if (a > b)
        std::swap(a, b);
    std::string out;
    for (int32_t line = a / 16; line <= b / 16; ++line) {
        out += GetDumpLine(doc, a, b, line, groupSize, hideOffsetHeader);
        out += '\n';
    }
    return out;
}
