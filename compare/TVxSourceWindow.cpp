#include "TVxSourceWindow.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

TVxSourceWindow::TVxSourceWindow(TVxByteSource &source, int64_t capacity)
    : FSource(source), FSize(source.Size()), FBuffer(static_cast<size_t>(std::min(capacity, std::max<int64_t>(FSize, 1))))
{
}

const uint8_t *TVxSourceWindow::Get(int64_t pos, int64_t count)
{
    const int64_t end = std::min(pos + count, FSize);
    if (pos < 0 || pos > FSize || end - pos > int64_t(FBuffer.size()))
        throw std::logic_error("compare window: range out of bounds");
    if (pos >= FStart && end <= FStart + FLength)
        return FBuffer.data() + (pos - FStart);
    int64_t keep = 0;
    if (pos >= FStart && pos < FStart + FLength) {
        keep = FStart + FLength - pos;
        std::memmove(FBuffer.data(), FBuffer.data() + (pos - FStart), static_cast<size_t>(keep));
    }
    FStart = pos;
    FLength = keep;
    const int64_t fill = std::min(int64_t(FBuffer.size()), FSize - pos) - keep;
    if (fill > 0) {
        FLength = keep; // a failing Read leaves only what is valid
        FSource.Read(pos + keep, FBuffer.data() + keep, static_cast<int32_t>(fill));
        FLength = keep + fill;
    }
    return FBuffer.data();
}
