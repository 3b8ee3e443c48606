#include "TVxRecordReader.h"

#include "TVxFormatError.h"
#include "TVxHexDigits.h"


namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

[[noreturn]] void Fail(TVxFormatErrorKind kind, int64_t line) { throw TVxFormatError(kind, line); }

constexpr uint64_t kMaxAddress = 0xFFFFFFFFu;

void Faulty(TVxRecordReader::TLine &out, TVxFormatErrorKind kind)
{
    out.State = TVxRecordReader::TLine::Fault;
    out.Detail = static_cast<uint8_t>(kind);
}

// The digits of a line's bytes into out; false for a character that is no hexadecimal digit.
bool DecodeDigits(const char *digits, size_t count, TVxRecordReader::TLine &out, uint8_t detail)
{
    const int sum = TVxHexDigits::Decode(digits, count, out.Bytes);
    out.State = TVxRecordReader::TLine::Record;
    out.Detail = detail;
    out.Count = static_cast<uint16_t>(count);
    out.Sum = static_cast<uint32_t>(sum);
    return sum >= 0;
}
} // namespace

TVxRecordReader::TVxRecordReader(TFormat format) : FFormat(format) {}

void TVxRecordReader::DecodeLine(TFormat format, const char *text, size_t length, TLine &out)
{
    while (length > 0 && IsBlank(text[length - 1]))
        --length;
    size_t start = 0;
    while (start < length && IsBlank(text[start]))
        ++start;
    if (start == length) {
        out.State = TLine::Blank;
        return;
    }
    text += start;
    length -= start;
    if (length > kMaxLine)
        return Faulty(out, TVxFormatErrorKind::BadLength);
    size_t lead = 1;
    uint8_t type = 0;
    if (format == TFormat::IntelHex) {
        if (text[0] != ':')
            return Faulty(out, TVxFormatErrorKind::BadCharacter);
    } else {
        if (text[0] != 'S' && text[0] != 's')
            return Faulty(out, TVxFormatErrorKind::BadCharacter);
        if (length < 2)
            return Faulty(out, TVxFormatErrorKind::BadLength);
        if (text[1] < '0' || text[1] > '9')
            return Faulty(out, TVxFormatErrorKind::BadType);
        lead = 2;
        type = static_cast<uint8_t>(text[1]);
    }
    if ((length - lead) % 2 != 0 || !DecodeDigits(text + lead, (length - lead) / 2, out, type))
        Faulty(out, TVxFormatErrorKind::BadCharacter);
}

bool TVxRecordReader::DecodeWhole(TFormat format, const char *text, const char *end, TLine &out, size_t &used)
{
    // Intel HEX: ':' and the digits of length, address, type, data and checksum. S-records:
    // 'S', the type, and the digits of the length and the bytes it counts.
    const bool intel = format == TFormat::IntelHex;
    const size_t lead = intel ? 1 : 2;
    if (end - text < static_cast<std::ptrdiff_t>(lead + 2) || text[0] != (intel ? ':' : 'S'))
        return false;
    if (!intel && (text[1] < '0' || text[1] > '9'))
        return false;
    const int length = TVxHexDigits::DecodeOne(text + lead);
    if (length < 0)
        return false;
    const size_t count = static_cast<size_t>(length) + (intel ? 5 : 1);
    const size_t chars = lead + 2 * count;
    if (static_cast<size_t>(end - text) <= chars)
        return false;
    if (text[chars] == '\n')
        used = chars + 1;
    else if (text[chars] == '\r' && static_cast<size_t>(end - text) > chars + 1 && text[chars + 1] == '\n')
        used = chars + 2;
    else
        return false;
    // Every character up to the line end is a digit, so this is the whole line.
    return DecodeDigits(text + lead, count, out, intel ? 0 : static_cast<uint8_t>(text[1]));
}

void TVxRecordReader::Interpret(const TLine &decoded, int64_t line, TRecord &r)
{
    r = TRecord();
    if (decoded.State == TLine::Blank)
        return;
    if (decoded.State == TLine::Fault)
        Fail(static_cast<TVxFormatErrorKind>(decoded.Detail), line);
    if (FFormat == TFormat::IntelHex)
        InterpretIntelHex(decoded, line, r);
    else
        InterpretSRecord(decoded, line, r);
}

TVxRecordReader::TRecord TVxRecordReader::Read(const char *text, size_t length, int64_t line)
{
    DecodeLine(FFormat, text, length, FLine);
    TRecord r;
    Interpret(FLine, line, r);
    return r;
}

void TVxRecordReader::InterpretIntelHex(const TLine &decoded, int64_t line, TRecord &r)
{
    const uint8_t *bytes = decoded.Bytes;
    const size_t total = decoded.Count;
    // Length, two address bytes, type, checksum.
    if (total < 5 || total != size_t(bytes[0]) + 5)
        Fail(TVxFormatErrorKind::BadLength, line);
    if ((decoded.Sum & 0xFF) != 0)
        Fail(TVxFormatErrorKind::BadChecksum, line);
    const size_t count = bytes[0];
    const unsigned offset = unsigned(bytes[1]) << 8 | bytes[2];
    const uint8_t *data = bytes + 4;
    switch (bytes[3]) {
    case 0x00:
        r.Data = true;
        r.Address = FBase + offset;
        r.Bytes = data;
        r.Count = count;
        if (count > 0 && r.Address + count - 1 > kMaxAddress)
            Fail(TVxFormatErrorKind::BadAddress, line);
        return;
    case 0x01:
        if (count != 0)
            Fail(TVxFormatErrorKind::BadLength, line);
        r.End = true;
        return;
    case 0x02:
    case 0x04:
        if (count != 2)
            Fail(TVxFormatErrorKind::BadLength, line);
        if (offset != 0)
            Fail(TVxFormatErrorKind::BadAddress, line);
        FBase = (uint64_t(data[0]) << 8 | data[1]) << (bytes[3] == 0x02 ? 4 : 16);
        return;
    case 0x03:
    case 0x05:
        if (count != 4)
            Fail(TVxFormatErrorKind::BadLength, line);
        return;
    default:
        Fail(TVxFormatErrorKind::BadType, line);
    }
}

void TVxRecordReader::InterpretSRecord(const TLine &decoded, int64_t line, TRecord &r)
{
    const uint8_t *bytes = decoded.Bytes;
    const size_t total = decoded.Count;
    static const int kAddressBytes[10] = {2, 2, 3, 4, 0, 2, 3, 4, 3, 2};
    const int t = decoded.Detail - '0';
    if (t == 4)
        Fail(TVxFormatErrorKind::BadType, line);
    const size_t addressBytes = static_cast<size_t>(kAddressBytes[t]);
    // The length counts the address, the data and the checksum.
    if (total < 2 + addressBytes || total != size_t(bytes[0]) + 1)
        Fail(TVxFormatErrorKind::BadLength, line);
    if (static_cast<uint8_t>(~(decoded.Sum - bytes[total - 1])) != bytes[total - 1])
        Fail(TVxFormatErrorKind::BadChecksum, line);
    uint64_t address = 0;
    for (size_t i = 0; i < addressBytes; ++i)
        address = address << 8 | bytes[1 + i];
    const size_t count = total - 2 - addressBytes;
    switch (t) {
    case 1:
    case 2:
    case 3:
        r.Data = true;
        r.Address = address;
        r.Bytes = bytes + 1 + addressBytes;
        r.Count = count;
        if (count > 0 && address + count - 1 > kMaxAddress)
            Fail(TVxFormatErrorKind::BadAddress, line);
        ++FDataRecords;
        return;
    case 5:
    case 6:
        if (count != 0)
            Fail(TVxFormatErrorKind::BadLength, line);
        if (static_cast<int64_t>(address) != FDataRecords)
            Fail(TVxFormatErrorKind::BadCount, line);
        return;
    case 7:
    case 8:
    case 9:
        if (count != 0)
            Fail(TVxFormatErrorKind::BadLength, line);
        r.End = true;
        return;
    default: // S0, the header
        return;
    }
}
