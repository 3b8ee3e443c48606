// The jump dialog's address (TVxJumpAddress, over TStrToInt). The first four bytes are the
// file's size, the rest the typed text.
#include "FuzzCheck.h"
#include "TVxJumpAddress.h"

#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 4)
        return 0;
    int32_t fileSize = 0;
    std::memcpy(&fileSize, data, 4);
    fileSize &= 0x7FFFFFFF;
    const std::string text(reinterpret_cast<const char *>(data) + 4, size - 4);
    const TVxJumpTarget t = TVxJumpAddress::Check(text, fileSize);
    switch (t.Check) {
    case TVxJumpCheck::Ok: {
        FUZZ_CHECK(t.Offset >= 0 && t.Offset <= fileSize);
        // The same place typed in decimal and in hexadecimal.
        char hex[16];
        std::snprintf(hex, sizeof hex, "$%X", static_cast<unsigned>(t.Offset));
        const TVxJumpTarget h = TVxJumpAddress::Check(hex, fileSize);
        FUZZ_CHECK(h.Check == TVxJumpCheck::Ok && h.Offset == t.Offset);
        const TVxJumpTarget d = TVxJumpAddress::Check(std::to_string(t.Offset), fileSize);
        FUZZ_CHECK(d.Check == TVxJumpCheck::Ok && d.Offset == t.Offset);
        // One more than the size is out of range, the size itself not.
        FUZZ_CHECK(TVxJumpAddress::Check(std::to_string(fileSize), fileSize).Check == TVxJumpCheck::Ok);
        if (fileSize < INT32_MAX)
            FUZZ_CHECK(TVxJumpAddress::Check(std::to_string(fileSize + 1), fileSize).Check == TVxJumpCheck::OutOfRange);
        break;
    }
    case TVxJumpCheck::OutOfRange:
        // Out of range only for a size below the largest offset.
        FUZZ_CHECK(fileSize < INT32_MAX);
        FUZZ_CHECK(TVxJumpAddress::Check(text, INT32_MAX).Check == TVxJumpCheck::Ok);
        break;
    case TVxJumpCheck::Invalid:
        FUZZ_CHECK(TVxJumpAddress::Check(text, INT32_MAX).Check == TVxJumpCheck::Invalid);
        break;
    }
    return 0;
}
