// Intel HEX and S-record files (TVxRecordReader, TVxImporter) against a plain model of the
// records, and the image written again by the encoders (TVxIntelHexEncoder,
// TVxSRecordEncoder) and imported once more. The first byte picks the format and the
// encoder's record size, the second the fill byte; the rest is the file.
#include "FuzzCheck.h"
#include "TVxDocument.h"
#include "TVxFormatError.h"
#include "TVxImporter.h"
#include "TVxIntelHexEncoder.h"
#include "TVxSRecordEncoder.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {
using TFormat = TVxRecordReader::TFormat;

struct TImage {
    uint64_t Lowest = 0;
    std::vector<uint8_t> Bytes;
};

// What the importer should make of the text: an image, an error (nullopt), or "no opinion"
// (a line too long for the reader, where the importer may refuse it earlier than the reader
// would; or an image too large to import here).
struct TExpected {
    bool Known = true;
    std::optional<TImage> Image;
};

TExpected Model(TFormat format, const std::string &text, uint8_t fill)
{
    TVxRecordReader reader(format);
    std::map<uint64_t, uint8_t> bytes;
    bool ended = false;
    int64_t line = 0;
    for (size_t at = 0; at < text.size() && !ended;) {
        size_t nl = text.find('\n', at);
        if (nl == std::string::npos)
            nl = text.size(); // the last line, without its end
        ++line;
        if (nl - at > TVxRecordReader::kMaxLine)
            return {false, std::nullopt};
        try {
            const TVxRecordReader::TRecord r = reader.Read(text.data() + at, nl - at, line);
            FUZZ_CHECK(!(r.Data && r.End));
            ended = r.End;
            if (r.Data) {
                FUZZ_CHECK(r.Count <= 255 && (r.Count == 0 || r.Address + r.Count - 1 <= 0xFFFFFFFFu));
                for (size_t i = 0; i < r.Count; ++i)
                    if (!bytes.emplace(r.Address + i, r.Bytes[i]).second)
                        return {}; // two records give one address
            }
        } catch (const TVxFormatError &e) {
            FUZZ_CHECK(e.Line() == line);
            return {};
        }
        at = nl + 1;
    }
    if (!ended || bytes.empty())
        return {};
    const uint64_t lowest = bytes.begin()->first, end = bytes.rbegin()->first + 1;
    if (end - lowest > uint64_t(TVxDocument::kMaxFileSize))
        return {};
    if (end - lowest > (1u << 20))
        return {false, std::nullopt};
    TImage image{lowest, std::vector<uint8_t>(size_t(end - lowest), fill)};
    for (const auto &[address, b] : bytes)
        image.Bytes[size_t(address - lowest)] = b;
    return {true, image};
}

std::optional<TImage> Import(TFormat format, const std::string &text, uint8_t fill)
{
    const std::string path = FuzzScratch() + "/in.hex";
    FuzzWriteFile(path, text);
    TVxImporter importer(format, fill);
    try {
        TTempFile file = importer.Import(path, nullptr);
        TImage image{importer.Lowest(), std::vector<uint8_t>(size_t(importer.Size()))};
        FUZZ_CHECK(file.Handle().Length() == importer.Size());
        if (!image.Bytes.empty())
            file.Handle().ReadExact(0, image.Bytes.data(), image.Bytes.size());
        return image;
    } catch (const TVxFormatError &) {
        return std::nullopt;
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const TFormat format = data[0] & 1 ? TFormat::SRecord : TFormat::IntelHex;
    const int recordBytes = 1 + (data[0] >> 1);
    const uint8_t fill = data[1];
    const std::string text(reinterpret_cast<const char *>(data) + 2, size - 2);

    const TExpected expected = Model(format, text, fill);
    // An import costs a few megabytes of buffers; text the model refuses is imported only
    // with the fill byte 0, so that the fuzzer spends its time on the files that load.
    if (!expected.Known || (!expected.Image && fill != 0))
        return 0;
    const std::optional<TImage> image = Import(format, text, fill);
    FUZZ_CHECK(image.has_value() == expected.Image.has_value());
    if (!image)
        return 0;
    FUZZ_CHECK(image->Lowest == expected.Image->Lowest && image->Bytes == expected.Image->Bytes);

    // Written by the encoder of the format and read again: the same image.
    std::string out;
    std::unique_ptr<TVxByteEncoder> encoder;
    const auto lowest = static_cast<uint32_t>(image->Lowest);
    if (format == TFormat::IntelHex)
        encoder = std::make_unique<TVxIntelHexEncoder>(lowest, recordBytes);
    else
        encoder = std::make_unique<TVxSRecordEncoder>(lowest, int64_t(image->Bytes.size()), recordBytes, fill & 1);
    encoder->Begin(out);
    // In two blocks, as the exporter feeds any block sizes.
    const size_t half = image->Bytes.size() / 2;
    encoder->Add(image->Bytes.data(), half, out);
    encoder->Add(image->Bytes.data() + half, image->Bytes.size() - half, out);
    encoder->Finish(out);
    const std::optional<TImage> again = Import(format, out, static_cast<uint8_t>(~fill));
    FUZZ_CHECK(again && again->Lowest == image->Lowest && again->Bytes == image->Bytes);
    return 0;
}
