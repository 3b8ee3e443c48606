#include "TVxExporter.h"

#include "TDirHandle.h"
#include "TFilePaths.h"
#include "TTempFile.h"
#include "TVxBackgroundWriter.h"
#include "TVxByteEncoder.h"
#include "TVxDocument.h"
#include "TVxFormatError.h"
#include "TVxProgress.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace {
// Bytes read from the document at a time; the text of one block is at most a few times that.
constexpr int32_t kBlock = int32_t(256) << 10;
constexpr size_t kDrainAt = size_t(512) << 10;
} // namespace

void TVxExporter::CheckAddresses(uint32_t startAddress, int64_t count)
{
    if (count > 0 && uint64_t(startAddress) + uint64_t(count) - 1 > 0xFFFFFFFFu)
        throw TVxFormatError(TVxFormatErrorKind::AddressTooHigh, 0);
}

void TVxExporter::Stream(const TVxDocument &doc, int32_t offset, int32_t count, TVxByteEncoder &encoder,
                         TVxProgress *progress, const std::function<void(std::string &text)> &drain)
{
    std::vector<uint8_t> bytes(static_cast<size_t>(std::min(kBlock, std::max(count, 1))));
    std::string text;
    encoder.Begin(text);
    int32_t reported = 0;
    for (int32_t done = 0; done < count;) {
        const int32_t got =
            doc.ReadInto(offset + done, bytes.data(), std::min(static_cast<int32_t>(bytes.size()), count - done));
        if (got <= 0)
            throw std::out_of_range("range outside the document");
        encoder.Add(bytes.data(), static_cast<size_t>(got), text);
        done += got;
        if (text.size() >= kDrainAt)
            drain(text);
        if (progress && (done - reported >= TVxProgress::kChunk || done == count)) {
            progress->Report(done, count, true);
            reported = done;
        }
    }
    encoder.Finish(text);
    drain(text);
}

std::string TVxExporter::Encode(const TVxDocument &doc, int32_t offset, int32_t count, TVxByteEncoder &encoder,
                                TVxProgress *progress)
{
    std::string all;
    Stream(doc, offset, count, encoder, progress, [&](std::string &text) {
        all += text;
        text.clear();
    });
    return all;
}

void TVxExporter::Export(const TVxDocument &doc, int32_t offset, int32_t count, TVxByteEncoder &encoder,
                         const std::string &fileName, TVxProgress *progress)
{
    TDirHandle dir = TDirHandle::Open(TFilePaths::DirName(fileName));
    // Unnamed until complete: a failure or a cancel leaves nothing behind, and the target
    // as it was.
    TTempFile out = TTempFile::CreateIn(dir, 0644);
    out.Handle().SetPath(fileName);
    // The text of one block is written while the next is encoded.
    TVxBackgroundWriter writer(out.Handle());
    int64_t written = 0;
    Stream(doc, offset, count, encoder, progress, [&](std::string &text) {
        const auto size = static_cast<int64_t>(text.size());
        writer.Write(written, text);
        written += size;
    });
    writer.Finish();
    out.LinkAs(dir, TFilePaths::BaseName(fileName));
}
