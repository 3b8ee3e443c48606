#include "TVxRecordLines.h"

#include "TFileHandle.h"
#include "TVxFormatError.h"

#include <cstring>

namespace {
constexpr size_t kText = size_t(256) << 10;
} // namespace

TVxRecordLines::TVxRecordLines(const TFileHandle &file, TVxRecordReader::TFormat format)
    : FFile(file), FFormat(format), FText(kText)
{
}

const TVxRecordReader::TLine *TVxRecordLines::Decode(const char *text, size_t length)
{
    TVxRecordReader::DecodeLine(FFormat, text, length, FLine);
    return &FLine;
}

const TVxRecordReader::TLine *TVxRecordLines::TooLong()
{
    FOver = true;
    FLine.State = TVxRecordReader::TLine::Fault;
    FLine.Detail = static_cast<uint8_t>(TVxFormatErrorKind::BadLength);
    return &FLine;
}

const TVxRecordReader::TLine *TVxRecordLines::Next()
{
    if (FOver)
        return nullptr;
    for (;;) {
        if (FAt < FEnd) {
            size_t used;
            if (TVxRecordReader::DecodeWhole(FFormat, FAt, FEnd, FLine, used)) {
                FAt += used;
                return &FLine;
            }
            const char *nl = static_cast<const char *>(std::memchr(FAt, '\n', static_cast<size_t>(FEnd - FAt)));
            if (nl) {
                const char *line = FAt;
                FAt = nl + 1;
                return Decode(line, static_cast<size_t>(nl - line));
            }
            FCarry.assign(FAt, FEnd);
            FAt = FEnd;
            if (FCarry.size() > TVxRecordReader::kMaxLine + 2)
                return TooLong();
        }
        const size_t got = FFile.ReadAt(FPos, FText.data(), FText.size());
        FPos += static_cast<int64_t>(got);
        FAt = FText.data();
        FEnd = FAt + got;
        if (got == 0) {
            FOver = true;
            return FCarry.empty() ? nullptr : Decode(FCarry.data(), FCarry.size());
        }
        if (FCarry.empty())
            continue;
        // The rest of the line that ran over the end of the last block.
        const char *nl = static_cast<const char *>(std::memchr(FAt, '\n', got));
        FCarry.append(FAt, nl ? nl : FEnd);
        FAt = nl ? nl + 1 : FEnd;
        if (FCarry.size() > TVxRecordReader::kMaxLine + 2)
            return TooLong();
        if (nl) {
            const TVxRecordReader::TLine *l = Decode(FCarry.data(), FCarry.size());
            FCarry.clear();
            return l;
        }
    }
}
