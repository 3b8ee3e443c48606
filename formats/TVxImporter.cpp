#include "TVxImporter.h"

#include "TVxBackgroundWriter.h"
#include "TVxDocument.h"
#include "TVxFormatError.h"
#include "TVxProgress.h"
#include "TVxRecordLines.h"

#include <algorithm>
#include <vector>

namespace {
// Large enough that handing a block to the writer's thread, which wakes it, is rare.
constexpr size_t kBlock = size_t(1) << 20;

// Gathers records that follow each other into one block, written at its address less the
// image's first address: one write of 1 MiB however short the records, made on the
// writer's thread while the next block is decoded.
class TGather {
public:
    TGather(TFileHandle &out, uint64_t base) : FWriter(out), FBase(base) { FBuffer.reserve(kBlock); }
    void Add(uint64_t address, const uint8_t *bytes, size_t count)
    {
        if (!FBuffer.empty() && (address != FAt + FBuffer.size() || FBuffer.size() + count > kBlock))
            Flush();
        if (FBuffer.empty())
            FAt = address;
        FBuffer.append(reinterpret_cast<const char *>(bytes), count);
    }
    // Everything added is in the file.
    void Finish()
    {
        Flush();
        FWriter.Finish();
    }
    void SetBase(uint64_t base) { FBase = base; }
    void Drop() { FBuffer.clear(); }

private:
    void Flush()
    {
        if (!FBuffer.empty())
            FWriter.Write(static_cast<int64_t>(FAt - FBase), FBuffer);
        FBuffer.reserve(kBlock);
    }

    TVxBackgroundWriter FWriter;
    uint64_t FBase;
    std::string FBuffer;
    uint64_t FAt = 0;
};
} // namespace

TVxImporter::TVxImporter(TVxRecordReader::TFormat format, uint8_t fill) : FFormat(format), FFill(fill) {}

TTempFile TVxImporter::Import(const std::string &path, TVxProgress *progress)
{
    return Import(path, progress, TTempFile::Create());
}

TTempFile TVxImporter::Import(const std::string &path, TVxProgress *progress, TTempFile image)
{
    FProgress = progress;
    FRuns.clear();
    FLast = FRuns.end();
    TFileHandle in = TFileHandle::OpenRead(path);
    FInputSize = in.Length();
    if (!Scan(in, image.Handle())) {
        image.Handle().SetLength(0);
        Write(in, image.Handle());
    }
    FillGaps(image.Handle());
    if (FProgress)
        FProgress->Report(2 * FInputSize, 2 * FInputSize, true);
    return image;
}

void TVxImporter::Report(int64_t done)
{
    if (FProgress)
        FProgress->Report(done, 2 * FInputSize, true);
}

template <typename TRecordFn>
int64_t TVxImporter::ForEachRecord(const TFileHandle &in, int64_t pass, TRecordFn &&fn)
{
    TVxRecordReader reader(FFormat);
    TVxRecordLines lines(in, FFormat);
    TVxRecordReader::TRecord r;
    int64_t line = 0;
    int64_t reported = 0;
    while (const TVxRecordReader::TLine *decoded = lines.Next()) {
        reader.Interpret(*decoded, ++line, r);
        if (!fn(r, line))
            break;
        if (lines.Read() - reported >= TVxProgress::kChunk) {
            reported = lines.Read();
            Report(pass * FInputSize + reported);
        }
    }
    return line;
}

bool TVxImporter::Scan(const TFileHandle &in, TFileHandle &out)
{
    bool ended = false;
    FLowest = UINT64_MAX;
    FHighest = 0;
    // Most files begin at their lowest address: their data is written at once, while it is
    // checked, and no second pass is needed.
    TGather gather(out, 0);
    bool written = true, haveFirst = false;
    uint64_t first = 0;
    const int64_t last = ForEachRecord(in, 0, [&](const TVxRecordReader::TRecord &r, int64_t line) {
        if (r.End) {
            ended = true;
            return false;
        }
        if (!r.Data || r.Count == 0)
            return true;
        AddRun(r.Address, r.Count, line);
        FLowest = std::min(FLowest, r.Address);
        FHighest = std::max<uint64_t>(FHighest, r.Address + r.Count);
        if (FHighest - FLowest > static_cast<uint64_t>(TVxDocument::kMaxFileSize))
            throw TVxFormatError(TVxFormatErrorKind::TooLarge, line);
        if (!haveFirst) {
            haveFirst = true;
            first = r.Address;
            gather.SetBase(first);
        }
        if (written && r.Address < first) {
            // Below the first record: where the image starts is known only at the end, and
            // the second pass writes it.
            written = false;
            gather.Drop();
        }
        if (written)
            gather.Add(r.Address, r.Bytes, r.Count);
        return true;
    });
    if (!ended)
        throw TVxFormatError(TVxFormatErrorKind::MissingEnd, last);
    if (FRuns.empty())
        throw TVxFormatError(TVxFormatErrorKind::NoData, last);
    if (written)
        gather.Finish();
    return written;
}

void TVxImporter::AddRun(uint64_t address, uint64_t count, int64_t line)
{
    const uint64_t end = address + count;
    if (FLast != FRuns.end() && FLast->second == address) {
        const auto after = std::next(FLast);
        if (after == FRuns.end() || after->first > end) {
            FLast->second = end;
            return;
        }
    }
    auto next = FRuns.upper_bound(address);
    auto prev = next == FRuns.begin() ? FRuns.end() : std::prev(next);
    if ((prev != FRuns.end() && prev->second > address) || (next != FRuns.end() && next->first < end))
        throw TVxFormatError(TVxFormatErrorKind::Overlap, line);
    const bool joinsNext = next != FRuns.end() && next->first == end;
    if (prev != FRuns.end() && prev->second == address) {
        prev->second = joinsNext ? next->second : end;
        FLast = prev;
    } else {
        FLast = FRuns.emplace_hint(next, address, joinsNext ? next->second : end);
    }
    if (joinsNext)
        FRuns.erase(next);
}

void TVxImporter::FillGaps(TFileHandle &out)
{
    const std::vector<uint8_t> fill(kBlock, FFill);
    uint64_t at = FLowest;
    for (const auto &run : FRuns) {
        for (uint64_t pos = at; pos < run.first;) {
            const auto n = static_cast<size_t>(std::min<uint64_t>(kBlock, run.first - pos));
            out.WriteAt(static_cast<int64_t>(pos - FLowest), fill.data(), n);
            pos += n;
        }
        at = run.second;
    }
}

void TVxImporter::Write(const TFileHandle &in, TFileHandle &out)
{
    TGather gather(out, FLowest);
    ForEachRecord(in, 1, [&](const TVxRecordReader::TRecord &r, int64_t) {
        if (r.End)
            return false;
        if (r.Data && r.Count > 0)
            gather.Add(r.Address, r.Bytes, r.Count);
        return true;
    });
    gather.Finish();
}
