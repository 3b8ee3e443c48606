#include "TVxJumpAddress.h"

#include "TStrToInt.h"

TVxJumpTarget TVxJumpAddress::Check(const std::string &text, int32_t fileSize)
{
    TVxJumpTarget t;
    int32_t value = 0;
    if (!TStrToInt::TryParse(text, value) || value < 0)
        return t;
    t.Offset = value;
    t.Check = value > fileSize ? TVxJumpCheck::OutOfRange : TVxJumpCheck::Ok;
    return t;
}

int32_t TVxJumpAddress::OffsetJumpTarget(int32_t caret, uint8_t byteAtCaret, int32_t fileSize)
{
    if (caret < 0 || caret >= fileSize)
        return -1;
    const int64_t target = int64_t(caret) + (byteAtCaret == 0 ? 1 : byteAtCaret);
    return target < fileSize ? static_cast<int32_t>(target) : -1;
}
