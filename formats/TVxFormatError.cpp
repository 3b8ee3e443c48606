#include "TVxFormatError.h"

#include <string>

namespace {
const char *NameOf(TVxFormatErrorKind kind)
{
    switch (kind) {
    case TVxFormatErrorKind::BadCharacter: return "bad character";
    case TVxFormatErrorKind::BadLength: return "bad record length";
    case TVxFormatErrorKind::BadChecksum: return "checksum mismatch";
    case TVxFormatErrorKind::BadType: return "unknown record type";
    case TVxFormatErrorKind::BadAddress: return "bad address";
    case TVxFormatErrorKind::BadCount: return "record count mismatch";
    case TVxFormatErrorKind::Overlap: return "overlapping records";
    case TVxFormatErrorKind::TooLarge: return "image too large";
    case TVxFormatErrorKind::MissingEnd: return "no end record";
    case TVxFormatErrorKind::NoData: return "no data records";
    case TVxFormatErrorKind::AddressTooHigh: return "address out of range";
    }
    return "format error";
}
} // namespace

TVxFormatError::TVxFormatError(TVxFormatErrorKind kind, int64_t line)
    : std::runtime_error(std::string(NameOf(kind)) + " at line " + std::to_string(line)), FKind(kind), FLine(line)
{
}
