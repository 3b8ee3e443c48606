#include "TVxShareMemStream.h"

#include "EAccessViolation.h"
#include "EFCreateError.h"

#include <cstring>
#include <exception>

namespace {
// Position arithmetic of signed 32-bit positions: wraps like the stream's positions always
// did, instead of being undefined.
int32_t Wrap(int64_t value) { return static_cast<int32_t>(static_cast<uint32_t>(value)); }

TSharedMemBlock OpenBlock(const std::string &name, int32_t size)
{
    try {
        if (size <= 0)
            throw std::exception();
        return TSharedMemBlock::Open(name, static_cast<size_t>(size));
    } catch (const std::exception &) {
        throw EFCreateError("共有メモリ[" + name + "]を開けません");
    }
}
} // namespace

TVxShareMemStream::TVxShareMemStream(const std::string &name, int32_t size)
    : FMapping(OpenBlock(name, size)), FSize(size)
{
}

int32_t TVxShareMemStream::Read(void *buffer, int32_t count)
{
    if (FPosition < 0 || count < 0)
        return 0;
    const int64_t available = int64_t(FSize) - FPosition;
    if (available <= 0)
        return 0;
    const int32_t n = count < available ? count : static_cast<int32_t>(available);
    std::memcpy(buffer, FMapping.Data() + FPosition, static_cast<size_t>(n));
    FPosition += n;
    return n;
}

int32_t TVxShareMemStream::Write(const void *buffer, int32_t count)
{
    const int64_t end = int64_t(FPosition) + count;
    if (FPosition < 0 || count < 0 || end <= 0)
        return 0;
    if (end > FSize)
        throw EAccessViolation("共有メモリを逸脱した書き込み");
    std::memcpy(FMapping.Data() + FPosition, buffer, static_cast<size_t>(count));
    FPosition = static_cast<int32_t>(end);
    return count;
}

int32_t TVxShareMemStream::Seek(int32_t offset, int origin)
{
    switch (origin) {
    case soBeginning:
        FPosition = offset;
        break;
    case soCurrent:
        FPosition = Wrap(int64_t(FPosition) + offset);
        break;
    case soEnd:
        FPosition = Wrap(int64_t(FSize) + offset);
        break;
    default:
        break;
    }
    return FPosition;
}
