// The exchange formats: every format written from random documents and read back (Intel HEX
// and S-records with gaps, above 64 KiB and 16 MiB, record sizes, a start address), the
// text forms against an independent decoder, records from the formats' published examples,
// and malformed input field by field, each naming its line.

#include "TFileFaults.h"
#include "TVxExporter.h"
#include "TVxFormatError.h"
#include "TVxHexDigits.h"
#include "TVxImporter.h"
#include "TVxIntelHexEncoder.h"
#include "TVxSRecordEncoder.h"
#include "TVxTextEncoder.h"
#include "TestProgress.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cctype>
#include <cstdio>
#include <random>

namespace {
using TFormat = TVxRecordReader::TFormat;
using TKind = TVxFormatErrorKind;

std::string Encode(TVxByteEncoder &encoder, const std::vector<uint8_t> &bytes, size_t block)
{
    std::string out;
    encoder.Begin(out);
    for (size_t at = 0; at < bytes.size(); at += block)
        encoder.Add(bytes.data() + at, std::min(block, bytes.size() - at), out);
    encoder.Finish(out);
    return out;
}

struct FormatsTest : ::testing::Test {
    TPrivateTempDir temp;
    TScratchDir dir;
    std::mt19937 rng{20261209};

    std::vector<uint8_t> Import(TFormat format, const std::string &text, uint32_t *lowest = nullptr, uint8_t fill = 0xFF)
    {
        const std::string path = dir.File("in.txt");
        WriteText(path, text);
        TVxImporter importer(format, fill);
        TTempFile image = importer.Import(path, nullptr);
        std::vector<uint8_t> bytes(static_cast<size_t>(importer.Size()));
        if (!bytes.empty())
            image.Handle().ReadExact(0, bytes.data(), bytes.size());
        if (lowest)
            *lowest = importer.Lowest();
        EXPECT_EQ(image.Handle().Length(), importer.Size());
        return bytes;
    }
    // The kind and line of the error importing text fails with.
    std::pair<TKind, int64_t> ImportError(TFormat format, const std::string &text)
    {
        try {
            Import(format, text);
        } catch (const TVxFormatError &e) {
            return {e.Kind(), e.Line()};
        }
        ADD_FAILURE() << "no error for:\n" << text;
        return {TKind::NoData, -1};
    }
    std::string Records(TFormat format, uint32_t at, const std::vector<uint8_t> &bytes, int recordBytes, bool end)
    {
        std::string text;
        if (format == TFormat::IntelHex) {
            TVxIntelHexEncoder e(at, recordBytes);
            text = Encode(e, bytes, 1000);
        } else {
            // No count records: the counts of the pieces would not add up in one file.
            TVxSRecordEncoder e(at, static_cast<int64_t>(bytes.size()), recordBytes, false);
            text = Encode(e, bytes, 1000);
        }
        if (!end)
            text.erase(text.rfind('\n', text.size() - 2) + 1);
        return text;
    }
};

// Base64 read back by a decoder written from the alphabet, not from the encoder.
std::vector<uint8_t> FromBase64(const std::string &text)
{
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::vector<uint8_t> out;
    uint32_t acc = 0;
    int bits = 0;
    for (char c : text) {
        const size_t v = alphabet.find(c);
        if (v == std::string::npos)
            continue;
        acc = acc << 6 | static_cast<uint32_t>(v);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out.push_back(static_cast<uint8_t>(acc >> bits));
        }
    }
    return out;
}
} // namespace

TEST_F(FormatsTest, DocumentsExportedAndImportedComeBackWithTheirAddresses)
{
    struct TCase {
        TFormat Format;
        uint32_t Start;
        int RecordBytes;
        size_t Size;
    };
    // Past a 64 KiB page from an odd address (extended records, short records at the page),
    // past 16 MiB (S3), and the last byte of the 4 GiB.
    const TCase cases[] = {
        {TFormat::IntelHex, 0, 16, 1},          {TFormat::IntelHex, 0xFFF7, 32, 200000},
        {TFormat::IntelHex, 0x00FFFF00, 16, 70000}, {TFormat::IntelHex, 0xFFFFFFF0, 32, 16},
        {TFormat::SRecord, 0, 16, 65536},       {TFormat::SRecord, 0xFFF0, 32, 100},
        {TFormat::SRecord, 0x00FFFFF0, 16, 4096}, {TFormat::SRecord, 0xFFFFFF00, 32, 256},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(testing::Message() << "start " << c.Start << " size " << c.Size);
        const std::vector<uint8_t> bytes = Pattern(c.Size + 7, c.Start + 1);
        TVxDocument doc;
        LoadDocument(doc, dir.File("doc.bin"), bytes);
        const std::string path = dir.File("out.txt");
        TVxExporter::CheckAddresses(c.Start, static_cast<int64_t>(c.Size));
        TRecordingProgress progress;
        if (c.Format == TFormat::IntelHex) {
            TVxIntelHexEncoder e(c.Start, c.RecordBytes);
            TVxExporter::Export(doc, 7, static_cast<int32_t>(c.Size), e, path, &progress);
        } else {
            TVxSRecordEncoder e(c.Start, static_cast<int64_t>(c.Size), c.RecordBytes, true);
            TVxExporter::Export(doc, 7, static_cast<int32_t>(c.Size), e, path, &progress);
        }
        EXPECT_TRUE(progress.Monotone());
        const std::string text = ReadText(path);
        uint32_t lowest = 0;
        EXPECT_EQ(Import(c.Format, text, &lowest), std::vector<uint8_t>(bytes.begin() + 7, bytes.end()));
        EXPECT_EQ(lowest, c.Start);
        // Every line a whole record of at most the chosen size.
        const size_t longest = c.Format == TFormat::IntelHex ? 11 + 2 * size_t(c.RecordBytes)
                                                             : 4 + 2 * (4 + size_t(c.RecordBytes) + 1);
        for (size_t at = 0, nl; (nl = text.find('\n', at)) != std::string::npos; at = nl + 1)
            ASSERT_LE(nl - at, longest);
        if (c.Format == TFormat::SRecord) {
            const char want = c.Start + c.Size - 1 > 0xFFFFFF ? '3' : c.Start + c.Size - 1 > 0xFFFF ? '2' : '1';
            EXPECT_EQ(text[text.find('\n') + 2], want);
            EXPECT_EQ(text[text.rfind('S') + 1], char('0' + 10 - (want - '0'))) << "the matching end record";
        }
    }
    EXPECT_THROW(TVxExporter::CheckAddresses(0xFFFFFFF0, 17), TVxFormatError);
}

namespace {
// The record formats written by hand from their definitions, a record at a time with printf:
// the models the encoders' block-at-a-time text must match byte for byte.
std::string Hex(unsigned value, int digits)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%0*X", digits, value);
    return buf;
}

std::string ModelIntelHex(uint32_t start, int recordBytes, const std::vector<uint8_t> &bytes)
{
    std::string out;
    auto record = [&](unsigned type, unsigned offset, const uint8_t *data, size_t n) {
        unsigned sum = unsigned(n) + (offset >> 8) + (offset & 0xFF) + type;
        out += ":" + Hex(unsigned(n), 2) + Hex(offset, 4) + Hex(type, 2);
        for (size_t i = 0; i < n; ++i) {
            out += Hex(data[i], 2);
            sum += data[i];
        }
        out += Hex((0x100 - (sum & 0xFF)) & 0xFF, 2) + "\n";
    };
    uint64_t address = start;
    uint32_t page = 0;
    for (size_t i = 0; i < bytes.size();) {
        const size_t n = std::min({size_t(recordBytes), size_t(0x10000 - (address & 0xFFFF)), bytes.size() - i});
        if (address >> 16 != page) {
            page = uint32_t(address >> 16);
            const uint8_t upper[2] = {uint8_t(page >> 8), uint8_t(page)};
            record(4, 0, upper, 2);
        }
        record(0, unsigned(address & 0xFFFF), bytes.data() + i, n);
        i += n;
        address += n;
    }
    record(1, 0, nullptr, 0);
    return out;
}

std::string ModelSRecord(uint32_t start, int recordBytes, bool countRecord, const std::vector<uint8_t> &bytes)
{
    const uint64_t highest = uint64_t(start) + std::max<size_t>(bytes.size(), 1) - 1;
    const int addressBytes = highest <= 0xFFFF ? 2 : highest <= 0xFFFFFF ? 3 : 4;
    std::string out;
    auto record = [&](char type, int size, uint32_t address, const uint8_t *data, size_t n) {
        const unsigned length = unsigned(size + n + 1);
        unsigned sum = length;
        out += std::string("S") + type + Hex(length, 2) + Hex(address, 2 * size);
        for (int i = 0; i < size; ++i)
            sum += (address >> (8 * i)) & 0xFF;
        for (size_t i = 0; i < n; ++i) {
            out += Hex(data[i], 2);
            sum += data[i];
        }
        out += Hex(~sum & 0xFF, 2) + "\n";
    };
    record('0', 2, 0, nullptr, 0);
    size_t records = 0;
    for (size_t i = 0; i < bytes.size(); i += size_t(recordBytes), ++records)
        record(char('1' + addressBytes - 2), addressBytes, uint32_t(start + i), bytes.data() + i,
               std::min(size_t(recordBytes), bytes.size() - i));
    if (countRecord && records <= 0xFFFFFF)
        record(records <= 0xFFFF ? '5' : '6', records <= 0xFFFF ? 2 : 3, uint32_t(records), nullptr, 0);
    record(char('9' - (addressBytes - 2)), addressBytes, start, nullptr, 0);
    return out;
}
} // namespace

TEST_F(FormatsTest, EncodersWriteWhatTheFormatsDefineByteForByte)
{
    for (int round = 0; round < 60; ++round) {
        // Starts just below a 64 KiB page, a 16 MiB boundary and the top of the 4 GiB.
        const uint32_t bases[] = {0, 0x10000, 0x01000000, 0xFFFF0000};
        const size_t size = std::uniform_int_distribution<size_t>(0, 5000)(rng);
        const uint32_t start = bases[round % 4] - std::min<uint32_t>(bases[round % 4], rng() % 3000) +
                               (round % 4 == 3 ? 0x8000 : 0);
        std::vector<uint8_t> bytes(size);
        for (uint8_t &b : bytes)
            b = uint8_t(rng());
        const int recordBytes = round % 5 == 0 ? 255 : std::uniform_int_distribution<int>(1, 64)(rng);
        const size_t block = std::uniform_int_distribution<size_t>(1, 3000)(rng);
        SCOPED_TRACE(testing::Message() << "start " << start << " size " << size << " record " << recordBytes
                                        << " block " << block);
        TVxIntelHexEncoder ihex(start, recordBytes);
        ASSERT_EQ(Encode(ihex, bytes, block), ModelIntelHex(start, recordBytes, bytes));
        TVxSRecordEncoder srec(start, int64_t(size), std::min(recordBytes, 250), round % 2 == 0);
        ASSERT_EQ(Encode(srec, bytes, block), ModelSRecord(start, std::min(recordBytes, 250), round % 2 == 0, bytes));
    }
}

TEST_F(FormatsTest, HexDigitsReadEveryCharacterRightInEveryPlace)
{
    for (size_t count = 0; count <= 40; ++count) {
        std::vector<uint8_t> bytes(count);
        for (uint8_t &b : bytes)
            b = uint8_t(rng());
        std::string text(2 * count, '\0');
        const unsigned sum = TVxHexDigits::Encode(bytes.data(), count, text.data());
        std::string model;
        unsigned modelSum = 0;
        for (uint8_t b : bytes) {
            model += Hex(b, 2);
            modelSum += b;
        }
        ASSERT_EQ(text, model);
        ASSERT_EQ(sum, modelSum);
        std::vector<uint8_t> back(count);
        ASSERT_EQ(TVxHexDigits::Decode(text.c_str(), count, back.data()), int(modelSum));
        ASSERT_EQ(back, bytes);
        std::string lower = text;
        std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return char(std::tolower(c)); });
        ASSERT_EQ(TVxHexDigits::Decode(lower.c_str(), count, back.data()), int(modelSum));
        ASSERT_EQ(back, bytes);
        if (count == 0)
            continue;
        // Every character value in every place: only the 22 digits pass.
        for (size_t at = 0; at < text.size(); ++at) {
            for (int c = 0; c < 256; ++c) {
                std::string changed = text;
                changed[at] = char(c);
                ASSERT_EQ(TVxHexDigits::Decode(changed.c_str(), count, back.data()) >= 0, std::isxdigit(c) != 0)
                    << "character " << c << " at " << at;
            }
        }
    }
}

TEST_F(FormatsTest, GapsAreFilledAndRecordsMayComeInAnyOrder)
{
    for (TFormat format : {TFormat::IntelHex, TFormat::SRecord}) {
        std::uniform_int_distribution<uint32_t> len(1, 3000);
        const std::vector<uint8_t> a = Pattern(len(rng), 1), b = Pattern(len(rng), 2), c = Pattern(len(rng), 3);
        const uint32_t at = 0x01FFF000, bAt = at + uint32_t(a.size()) + 100, cAt = bAt + uint32_t(b.size()) + 70000;
        std::vector<uint8_t> want(cAt + c.size() - at, 0x5A);
        std::copy(a.begin(), a.end(), want.begin());
        std::copy(b.begin(), b.end(), want.begin() + (bAt - at));
        std::copy(c.begin(), c.end(), want.begin() + (cAt - at));
        // Out of order, the image is by address: starting at the lowest (written as it is
        // read) and starting above it (written by a second pass).
        const std::string texts[] = {
            Records(format, at, a, 16, false) + Records(format, cAt, c, 32, false) + Records(format, bAt, b, 16, true),
            Records(format, bAt, b, 16, false) + Records(format, cAt, c, 32, false) + Records(format, at, a, 16, true),
        };
        for (const std::string &text : texts) {
            uint32_t lowest = 0;
            EXPECT_EQ(Import(format, text, &lowest, 0x5A), want);
            EXPECT_EQ(lowest, at);
        }
    }
}

TEST_F(FormatsTest, LinesCutByTheEndsOfReadBlocksReadAsWritten)
{
    // Large files are read a few hundred KiB at a time, and the lines a tool writes are
    // decoded without looking for their ends: lines of every kind cut by a block's end, at
    // every place in them as the text is shifted.
    const std::vector<uint8_t> bytes = Pattern(400000, 11);
    for (TFormat format : {TFormat::IntelHex, TFormat::SRecord}) {
        SCOPED_TRACE(format == TFormat::IntelHex ? "Intel HEX" : "S-records");
        const std::string plain = format == TFormat::IntelHex ? ModelIntelHex(0x12340, 32, bytes)
                                                              : ModelSRecord(0x12340, 32, true, bytes);
        // Other line ends, blanks around records, blank lines and lower case, which take the
        // way of looking for the line end.
        std::string text;
        for (size_t at = 0, nl; (nl = plain.find('\n', at)) != std::string::npos; at = nl + 1) {
            std::string line = plain.substr(at, nl - at);
            switch (rng() % 8) {
            case 0: line += '\r'; break;
            case 1: line += " \r"; break;
            case 2: line = '\t' + line; break;
            case 3: text += "   \n"; break;
            case 4: line[0] = format == TFormat::SRecord ? 's' : ':'; break;
            default: break;
            }
            text += line + '\n';
        }
        for (size_t shift : {0, 1, 2, 38, 75, 76, 77, 78, 151}) {
            SCOPED_TRACE(shift);
            uint32_t lowest = 0;
            ASSERT_EQ(Import(format, std::string(shift, ' ') + '\n' + text, &lowest, 0), bytes);
            EXPECT_EQ(lowest, 0x12340u);
        }
        // A bad digit in the line a block's end cuts names that line, and so does one in a
        // line the text's end cuts short.
        for (size_t cut : {size_t(256) << 10, text.size() - 30}) {
            size_t start = text.rfind('\n', cut) + 1;
            while (text.compare(start, 3, "   ") == 0)
                start = text.find('\n', start) + 1;
            std::string bad = text;
            bad[text.find_first_of(":Ss", start) + 5] = 'G';
            const auto line = int64_t(std::count(text.begin(), text.begin() + int64_t(start), '\n') + 1);
            EXPECT_EQ(ImportError(format, bad), std::make_pair(TKind::BadCharacter, line));
            if (cut != text.size() - 30)
                continue;
            // Without its last line end: still the same line.
            bad.pop_back();
            EXPECT_EQ(ImportError(format, bad), std::make_pair(TKind::BadCharacter, line));
        }
    }
}

TEST_F(FormatsTest, PublishedExamplesRead)
{
    uint32_t lowest = 0;
    const std::vector<uint8_t> ihex = Import(TFormat::IntelHex, ":10010000214601360121470136007EFE09D2190140\n"
                                                                ":100110002146017E17C20001FF5F16002148011928\n"
                                                                ":10012000194E79234623965778239EDA3F01B2CAA7\n"
                                                                ":100130003F0156702B5E712B722B732146013421C7\n"
                                                                ":00000001FF\n",
                                             &lowest);
    EXPECT_EQ(lowest, 0x100u);
    ASSERT_EQ(ihex.size(), 64u);
    EXPECT_EQ(ihex[0], 0x21);
    EXPECT_EQ(ihex[15], 0x01);
    EXPECT_EQ(ihex[63], 0x21);

    const std::vector<uint8_t> srec = Import(TFormat::SRecord, "S00F000068656C6C6F202020202000003C\r\n"
                                                               "S11F00007C0802A6900100049421FFF07C6C1B787C8C23783C6000003863000026\r\n"
                                                               "S11F001C4BFFFFE5398000007D83637880010014382100107C0803A64E800020E9\r\n"
                                                               "S111003848656C6C6F20776F726C642E0A0042\r\n"
                                                               "S5030003F9\r\n"
                                                               "S9030000FC\r\n",
                                             &lowest);
    EXPECT_EQ(lowest, 0u);
    ASSERT_EQ(srec.size(), 0x46u);
    EXPECT_EQ(std::string(srec.begin() + 0x38, srec.begin() + 0x44), "Hello world.");
}

TEST_F(FormatsTest, MalformedRecordsNameTheirLine)
{
    const std::string good = ":020000001234B8\n";
    const std::string end = ":00000001FF\n";
    const std::pair<std::string, TKind> ihex[] = {
        {"020000001234B8\n", TKind::BadCharacter},   // no record mark
        {":02000000123GB8\n", TKind::BadCharacter},  // not a digit
        {":02000000123B8\n", TKind::BadCharacter},   // odd digits
        {":030000001234B7\n", TKind::BadLength},     // the length says more than is there
        {":0100000012345678\n", TKind::BadLength},   // and less
        {":020000001234B9\n", TKind::BadChecksum},
        {":020000061234B2\n", TKind::BadType},
        {":020001040001F8\n", TKind::BadAddress},    // an extended address with an offset
        {":0100000400FB\n", TKind::BadLength},       // an extended address of one byte
    };
    for (const auto &c : ihex) {
        SCOPED_TRACE(c.first);
        EXPECT_EQ(ImportError(TFormat::IntelHex, good + c.first + end), std::make_pair(c.second, int64_t(2)));
    }
    EXPECT_EQ(ImportError(TFormat::IntelHex, good + "\n:020010001234A8\n"), std::make_pair(TKind::MissingEnd, int64_t(3)));
    // The second record's first byte is the first record's last.
    EXPECT_EQ(ImportError(TFormat::IntelHex, good + ":02000100345673\n" + end), std::make_pair(TKind::Overlap, int64_t(2)));
    EXPECT_EQ(ImportError(TFormat::IntelHex, end), std::make_pair(TKind::NoData, int64_t(1)));
    // 2 GiB from the lowest to the highest address is one byte too many.
    EXPECT_EQ(ImportError(TFormat::IntelHex, ":020000040000FA\n:0100000000FF\n:0200000480007A\n:0100000000FF\n" + end),
              std::make_pair(TKind::TooLarge, int64_t(4)));

    const std::string sgood = "S10500001234B4\n";
    const std::string send = "S9030000FC\n";
    const std::pair<std::string, TKind> srec[] = {
        {"X10500001234B4\n", TKind::BadCharacter},
        {"S1050000123GB4\n", TKind::BadCharacter},
        {"S10500001234B\n", TKind::BadCharacter},
        {"S10600001234B4\n", TKind::BadLength}, // the length counts one byte more than there is
        {"S1040000123456\n", TKind::BadLength}, // and one less
        {"S10500001234B5\n", TKind::BadChecksum},
        {"S40500001234B4\n", TKind::BadType},
        {"S503000BF1\n", TKind::BadCount},      // 11 data records, says the count; there was 1
        {"S10200FD\n", TKind::BadLength},       // too short for its address
    };
    for (const auto &c : srec) {
        SCOPED_TRACE(c.first);
        EXPECT_EQ(ImportError(TFormat::SRecord, sgood + c.first + send), std::make_pair(c.second, int64_t(2)));
    }
    EXPECT_EQ(ImportError(TFormat::SRecord, sgood), std::make_pair(TKind::MissingEnd, int64_t(1)));
    EXPECT_EQ(ImportError(TFormat::SRecord, sgood + "S1050001ABCD81\n" + send), std::make_pair(TKind::Overlap, int64_t(2)));
}

TEST_F(FormatsTest, TextFormsReadBack)
{
    for (size_t size : {size_t(0), size_t(1), size_t(2), size_t(3), size_t(57), size_t(58), size_t(1000)}) {
        SCOPED_TRACE(size);
        const std::vector<uint8_t> bytes = Pattern(size, uint32_t(size) + 5);
        for (size_t block : {size_t(1), size_t(7), size_t(4096)}) {
            TVxTextEncoder base64(TVxTextEncoder::TKind::Base64, int64_t(size));
            const std::string b64 = Encode(base64, bytes, block);
            EXPECT_EQ(FromBase64(b64), bytes);
            for (size_t at = 0, nl; (nl = b64.find('\n', at)) != std::string::npos; at = nl + 1)
                EXPECT_LE(nl - at, 76u);

            TVxTextEncoder hex(TVxTextEncoder::TKind::HexString, int64_t(size));
            const std::string h = Encode(hex, bytes, block);
            ASSERT_EQ(h.size(), 2 * size);
            for (size_t i = 0; i < size; ++i)
                ASSERT_EQ(std::stoul(h.substr(2 * i, 2), nullptr, 16), bytes[i]);
        }
    }
    // RFC 4648's test vectors.
    for (const auto &v : {std::make_pair("f", "Zg=="), std::make_pair("fo", "Zm8="), std::make_pair("foob", "Zm9vYg=="),
                          std::make_pair("foobar", "Zm9vYmFy")}) {
        TVxTextEncoder e(TVxTextEncoder::TKind::Base64, 0);
        const std::string s = v.first;
        EXPECT_EQ(Encode(e, std::vector<uint8_t>(s.begin(), s.end()), 1), std::string(v.second) + "\n");
    }
    const std::vector<uint8_t> seventeen = Pattern(17, 3);
    TVxTextEncoder c(TVxTextEncoder::TKind::CArray, 17);
    const std::string array = Encode(c, seventeen, 5);
    EXPECT_EQ(array.substr(0, 28), "unsigned char data[17] = {\n ");
    EXPECT_EQ(array.substr(array.size() - 3), "};\n");
    EXPECT_EQ(std::count(array.begin(), array.end(), ','), 16);
    EXPECT_EQ(std::count(array.begin(), array.end(), '\n'), 4) << "16 values, then 1, each on its line";
    TVxTextEncoder py(TVxTextEncoder::TKind::Python, 2);
    EXPECT_EQ(Encode(py, {0x12, 0xAB}, 1), "b'\\x12\\xab'");
}

TEST_F(FormatsTest, CancelledOrFailedExportLeavesTheTargetAsItWas)
{
    const std::vector<uint8_t> bytes = Pattern(20 << 20, 9);
    TVxDocument doc;
    LoadDocument(doc, dir.File("doc.bin"), bytes);
    const std::string path = dir.File("out.hex");
    WriteText(path, "before");
    TRecordingProgress progress;
    progress.CancelAt = 2;
    TVxIntelHexEncoder e(0, 16);
    EXPECT_THROW(TVxExporter::Export(doc, 0, doc.FileSize(), e, path, &progress), TVxCancelled);
    EXPECT_EQ(ReadText(path), "before");
    EXPECT_EQ(NamesIn(dir.Path()).size(), 2u) << "nothing left beside it";

    // An import cancelled halfway leaves no image behind in the temporary folder.
    TVxIntelHexEncoder full(0, 32);
    TVxExporter::Export(doc, 0, doc.FileSize(), full, path, nullptr);
    TRecordingProgress importProgress;
    importProgress.CancelAt = 3;
    TVxImporter importer(TFormat::IntelHex, 0xFF);
    const size_t before = temp.FileCount();
    EXPECT_THROW(importer.Import(path, &importProgress), TVxCancelled);
    EXPECT_EQ(temp.FileCount(), before);

    // A write failing on the exporter's writing thread, and a read on the importer's reading
    // thread, reach the caller; the target is untouched and nothing is left.
    const std::string again = dir.File("again.hex");
    WriteText(again, "before");
    TFileFaults::FailNthWrite(5, ENOSPC);
    TVxIntelHexEncoder failing(0, 16);
    EXPECT_THROW(TVxExporter::Export(doc, 0, doc.FileSize(), failing, again, nullptr), std::system_error);
    TFileFaults::Reset();
    EXPECT_EQ(ReadText(again), "before");
    EXPECT_EQ(NamesIn(dir.Path()).size(), 3u);
    const size_t beforeRead = temp.FileCount();
    TFileFaults::FailNthRead(5, EIO);
    EXPECT_THROW(importer.Import(path, nullptr), std::system_error);
    TFileFaults::Reset();
    EXPECT_EQ(temp.FileCount(), beforeRead);
}
