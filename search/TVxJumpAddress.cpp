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
