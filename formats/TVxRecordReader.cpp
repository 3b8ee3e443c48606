#include "TVxRecordReader.h"

#include "TVxFormatError.h"

#include <vector>

namespace {
// The byte of every pair of characters, -1 where either is no hexadecimal digit: one
// lookup a byte, no branches (128 KiB, which stays in the cache while a file is read).
const int16_t *PairValues()
{
    static const std::vector<int16_t> table = [] {
        int digit[256];
        for (int &d : digit)
            d = -1;
        for (int i = 0; i < 10; ++i)
            digit['0' + i] = i;
        for (int i = 0; i < 6; ++i)
            digit['A' + i] = digit['a' + i] = 10 + i;
        std::vector<int16_t> t(65536);
        for (int hi = 0; hi < 256; ++hi)
            for (int lo = 0; lo < 256; ++lo)
                t[size_t(hi << 8 | lo)] =
                    static_cast<int16_t>(digit[hi] < 0 || digit[lo] < 0 ? -1 : digit[hi] << 4 | digit[lo]);
        return t;
    }();
    return table.data();
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

[[noreturn]] void Fail(TVxFormatErrorKind kind, int64_t line) { throw TVxFormatError(kind, line); }

constexpr uint64_t kMaxAddress = 0xFFFFFFFFu;
} // namespace

TVxRecordReader::TVxRecordReader(TFormat format) : FFormat(format), FPairs(PairValues()) {}

void TVxRecordReader::Decode(const char *text, size_t length, int64_t line)
{
    if (length % 2 != 0)
        Fail(TVxFormatErrorKind::BadCharacter, line);
    FCount = length / 2;
    const auto *chars = reinterpret_cast<const uint8_t *>(text);
    int bad = 0;
    for (size_t i = 0; i < FCount; ++i) {
        const int value = FPairs[size_t(chars[2 * i]) << 8 | chars[2 * i + 1]];
        bad |= value;
        FBytes[i] = static_cast<uint8_t>(value);
    }
    if (bad < 0)
        Fail(TVxFormatErrorKind::BadCharacter, line);
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
    unsigned sum = 0;
    for (size_t i = 0; i < FCount; ++i)
        sum += FBytes[i];
    if ((sum & 0xFF) != 0)
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
    unsigned sum = 0;
    for (size_t i = 0; i + 1 < FCount; ++i)
        sum += FBytes[i];
    if (static_cast<uint8_t>(~sum) != FBytes[FCount - 1])
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
