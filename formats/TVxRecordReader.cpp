#include "TVxRecordReader.h"

#include "TVxFormatError.h"
#include "TVxHexDigits.h"

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

[[noreturn]] void Fail(TVxFormatErrorKind kind, int64_t line) { throw TVxFormatError(kind, line); }

constexpr uint64_t kMaxAddress = 0xFFFFFFFFu;
} // namespace

TVxRecordReader::TVxRecordReader(TFormat format) : FFormat(format) {}

void TVxRecordReader::Decode(const char *text, size_t length, int64_t line)
{
    if (length % 2 != 0)
        Fail(TVxFormatErrorKind::BadCharacter, line);
    FCount = length / 2;
    const int sum = TVxHexDigits::Decode(text, FCount, FBytes);
    if (sum < 0)
        Fail(TVxFormatErrorKind::BadCharacter, line);
    FSum = static_cast<unsigned>(sum);
}

TVxRecordReader::TRecord TVxRecordReader::Read(const char *text, size_t length, int64_t line)
{
    while (length > 0 && IsBlank(text[length - 1]))
        --length;
    size_t start = 0;
    while (start < length && IsBlank(text[start]))
        ++start;
    if (start == length)
        return TRecord();
    text += start;
    length -= start;
    if (length > kMaxLine)
        Fail(TVxFormatErrorKind::BadLength, line);
    if (FFormat == TFormat::IntelHex) {
        if (text[0] != ':')
            Fail(TVxFormatErrorKind::BadCharacter, line);
        Decode(text + 1, length - 1, line);
        return ReadIntelHex(line);
    }
    if (text[0] != 'S' && text[0] != 's')
        Fail(TVxFormatErrorKind::BadCharacter, line);
    if (length < 2 || text[1] < '0' || text[1] > '9')
        Fail(length < 2 ? TVxFormatErrorKind::BadLength : TVxFormatErrorKind::BadType, line);
    Decode(text + 2, length - 2, line);
    return ReadSRecord(text[1], line);
}

TVxRecordReader::TRecord TVxRecordReader::ReadIntelHex(int64_t line)
{
    // Length, two address bytes, type, checksum.
    if (FCount < 5 || FCount != size_t(FBytes[0]) + 5)
        Fail(TVxFormatErrorKind::BadLength, line);
    if ((FSum & 0xFF) != 0)
        Fail(TVxFormatErrorKind::BadChecksum, line);
    const size_t count = FBytes[0];
    const unsigned offset = unsigned(FBytes[1]) << 8 | FBytes[2];
    const uint8_t *data = FBytes + 4;
    TRecord r;
    switch (FBytes[3]) {
    case 0x00:
        r.Data = true;
        r.Address = FBase + offset;
        r.Bytes = data;
        r.Count = count;
        if (count > 0 && r.Address + count - 1 > kMaxAddress)
            Fail(TVxFormatErrorKind::BadAddress, line);
        return r;
    case 0x01:
        if (count != 0)
            Fail(TVxFormatErrorKind::BadLength, line);
        r.End = true;
        return r;
    case 0x02:
    case 0x04:
        if (count != 2)
            Fail(TVxFormatErrorKind::BadLength, line);
        if (offset != 0)
            Fail(TVxFormatErrorKind::BadAddress, line);
        FBase = (uint64_t(data[0]) << 8 | data[1]) << (FBytes[3] == 0x02 ? 4 : 16);
        return r;
    case 0x03:
    case 0x05:
        if (count != 4)
            Fail(TVxFormatErrorKind::BadLength, line);
        return r;
    default:
        Fail(TVxFormatErrorKind::BadType, line);
    }
}

TVxRecordReader::TRecord TVxRecordReader::ReadSRecord(char type, int64_t line)
{
    static const int kAddressBytes[10] = {2, 2, 3, 4, 0, 2, 3, 4, 3, 2};
    const int t = type - '0';
    if (t == 4)
        Fail(TVxFormatErrorKind::BadType, line);
    const size_t addressBytes = static_cast<size_t>(kAddressBytes[t]);
    // The length counts the address, the data and the checksum.
    if (FCount < 2 + addressBytes || FCount != size_t(FBytes[0]) + 1)
        Fail(TVxFormatErrorKind::BadLength, line);
    if (static_cast<uint8_t>(~(FSum - FBytes[FCount - 1])) != FBytes[FCount - 1])
        Fail(TVxFormatErrorKind::BadChecksum, line);
    uint64_t address = 0;
    for (size_t i = 0; i < addressBytes; ++i)
        address = address << 8 | FBytes[1 + i];
    const size_t count = FCount - 2 - addressBytes;
    TRecord r;
    switch (t) {
    case 1:
    case 2:
    case 3:
        r.Data = true;
        r.Address = address;
        r.Bytes = FBytes + 1 + addressBytes;
        r.Count = count;
        if (count > 0 && address + count - 1 > kMaxAddress)
            Fail(TVxFormatErrorKind::BadAddress, line);
        ++FDataRecords;
        return r;
    case 5:
    case 6:
        if (count != 0)
            Fail(TVxFormatErrorKind::BadLength, line);
        if (static_cast<int64_t>(address) != FDataRecords)
            Fail(TVxFormatErrorKind::BadCount, line);
        return r;
    case 7:
    case 8:
    case 9:
        if (count != 0)
            Fail(TVxFormatErrorKind::BadLength, line);
        r.End = true;
        return r;
    default: // S0, the header
        return r;
    }
}
