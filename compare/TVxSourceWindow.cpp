#include "TVxSourceWindow.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

TVxSourceWindow::TVxSourceWindow(TVxByteSource &source, int64_t capacity)
    : FSource(source), FSize(source.Size()), FCapacity(std::max<int64_t>(std::min(capacity, FSize), 1))
{
    FBuffer.reset(new uint8_t[static_cast<size_t>(FCapacity)]);
}

const uint8_t *TVxSourceWindow::Get(int64_t pos, int64_t count)
{
    const int64_t end = std::min(pos + count, FSize);
    if (pos < 0 || pos > FSize || end - pos > FCapacity)
        throw std::logic_error("compare window: range out of bounds");
    if (pos >= FStart && end <= FStart + FLength)
        return FBuffer.get() + (pos - FStart);
    int64_t keep = 0;
    if (pos >= FStart && pos < FStart + FLength) {
        keep = FStart + FLength - pos;
        std::memmove(FBuffer.get(), FBuffer.get() + (pos - FStart), static_cast<size_t>(keep));
    }
    FStart = pos;
    FLength = keep;
    const int64_t fill = std::min(FCapacity, FSize - pos) - keep;
    if (fill > 0) {
        FLength = keep; // a failing Read leaves only what is valid
        FSource.Read(pos + keep, FBuffer.get() + keep, static_cast<int32_t>(fill));
        FLength = keep + fill;
    }
    return FBuffer.get();
}
