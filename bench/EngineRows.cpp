// Rows of the document engine: load, save, block edits in the middle, typing, memory,
// deleting and restoring a whole document. The baselines are copies the system does at
// its fastest (BenchBaseline.h).

#include "BenchBaseline.h"
#include "BenchChild.h"
#include "BenchTable.h"

#include "TFileFaults.h"
#include "TFileHandle.h"
#include "TTempFile.h"
#include "TVxDocument.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
constexpr int64_t kMiB = 1 << 20;
const std::vector<int64_t> kSizes{256 * kMiB, 1024 * kMiB - 1};

// The rows on one document only take the larger size.
int64_t BigSize() { return TBenchTable::Size(kSizes.back()); }

void Load()
{
    for (int64_t size : TBenchTable::Sizes(kSizes)) {
        TBenchTable::TDataFile file(size);
        TFileHandle src = TFileHandle::OpenRead(file.Path());
        TVxDocument doc;
        double ours = 1e30, base = 1e30;
        for (int i = 0; i < 5; ++i) {
            base = std::min(base, TBenchBaseline::Copy(src, 0, size, false));
            double t = TBenchTable::Now();
            doc.LoadFromFile(file.Path());
            ours = std::min(ours, TBenchTable::Now() - t);
        }
        TBenchTable::Print("load", size, ours, base);
    }
}

void Save()
{
    for (int64_t size : TBenchTable::Sizes(kSizes)) {
        TBenchTable::TDataFile file(size);
        TVxDocument doc;
        doc.LoadFromFile(file.Path());
        double ours = 1e30, base = 1e30;
        std::string target = TTempFile::TempDir() + "/hexbench-save.bin";
        const TFileHandle &work = doc.WorkCopy().Handle();
        ours = base = 1e30;
        for (int i = 0; i < 2; ++i) {
            base = std::min(base, TBenchBaseline::Copy(work, 0, size, true));
            double t = TBenchTable::Now();
            if (!doc.WriteToFile(target))
                std::fprintf(stderr, "save failed: %s\n", doc.LastWriteError().c_str());
            ours = std::min(ours, TBenchTable::Now() - t);
            TBenchTable::Remove(target);
        }
        TBenchTable::Print("save", size, ours, base);
    }
}

void BlockEdits(bool insert)
{
    for (int64_t size : TBenchTable::Sizes(kSizes)) {
        TBenchTable::TDataFile file(size);
        TVxDocument doc;
        doc.LoadFromFile(file.Path());
        const TFileHandle &work = doc.WorkCopy().Handle();
        const int32_t mid = static_cast<int32_t>(size / 2);
        const uint8_t one = 0x5A;
        double ours = 1e30, base = 1e30;
        for (int i = 0; i < 3; ++i) {
            base = std::min(base, TBenchBaseline::Copy(work, mid, size - mid, false));
            double t = TBenchTable::Now();
            if (insert)
                doc.InsertBlock(mid, &one, 1, true, false);
            else
                doc.DeleteRange(mid, mid, true);
            ours = std::min(ours, TBenchTable::Now() - t);
            // Put the size back with the opposite edit, outside the measurement.
            if (insert)
                doc.DeleteRange(mid, mid, true);
            else
                doc.InsertBlock(mid, &one, 1, true, false);
        }
        TBenchTable::Print(insert ? "insert-middle" : "delete-middle", size, ours, base);
    }
}

void TypeInserts()
{
    const int64_t size = BigSize();
    TBenchTable::TDataFile file(size);
    TVxDocument doc;
    doc.LoadFromFile(file.Path());
    const int32_t at = static_cast<int32_t>(size / 2);
    doc.LoadCache(at);
    TFileFaults::Reset();
    double t = TBenchTable::Now();
    for (int32_t i = 0; i < 10000; ++i)
        doc.InsertByte(at + i, static_cast<uint8_t>(i), true);
    double ours = TBenchTable::Now() - t;
    long writes = TFileFaults::WriteCount();
    long reads = TFileFaults::ReadCount();
    TBenchTable::PrintNoBaseline("type-inserts", 10000, ours);
    if (writes != 0 || reads != 0)
        std::fprintf(stderr, "type-inserts: %ld writes, %ld reads before the flush\n", writes, reads);
}

// The engine's whole working set on a 1 GiB document: load, block edits in the middle, a
// burst of typing, save. Run in a child process (BenchChild.h) so that what other rows of
// this run allocated (Qt, pictures, search buffers) does not count.
int PeakRssChild(const std::vector<std::string> &args)
{
    if (args.size() != 1)
        return 2;
    TVxDocument doc;
    doc.LoadFromFile(args[0]);
    const int32_t mid = static_cast<int32_t>(doc.FileSize() / 2);
    const uint8_t one = 1;
    doc.InsertBlock(mid, &one, 1, true, false);
    doc.DeleteRange(mid, mid, true);
    for (int32_t i = 0; i < 10000; ++i)
        doc.InsertByte(mid + i, static_cast<uint8_t>(i), true);
    const std::string target = TTempFile::TempDir() + "/hexbench-rss.bin";
    const bool saved = doc.WriteToFile(target);
    TBenchTable::Remove(target);
    std::fprintf(stderr, "peak-rss: undo records hold %lld bytes\n",
                 static_cast<long long>(doc.UndoList().DataBytes()));
    return saved ? 0 : 1;
}

void PeakRss()
{
    const int64_t size = BigSize();
    TBenchTable::TDataFile file(size);
    const TBenchChild::TResult run = TBenchChild::RunSelf("peak-rss", {file.Path()});
    if (!run.Ok)
        std::fprintf(stderr, "peak-rss: the child failed\n");
    TBenchTable::PrintValue("peak-rss", run.PeakBytes);
}

// Select all of a 1 GiB document, delete, undo: the removed gigabyte goes to the undo
// scratch file and back by file copies. Beside one copy of the file; run in a child so
// that its peak memory, loading included, is its own. The child prints its best time, or
// -1 when the document did not come back as it was.
int DeleteAllChild(const std::vector<std::string> &args)
{
    if (args.size() != 2)
        return 2;
    TVxDocument doc;
    doc.LoadFromFile(args[0]);
    const int64_t size = std::strtoll(args[1].c_str(), nullptr, 10);
    double best = 1e30;
    for (int i = 0; i < 3; ++i) {
        double t = TBenchTable::Now();
        doc.DeleteRange(0, doc.FileSize() - 1, true);
        doc.Undo();
        best = std::min(best, TBenchTable::Now() - t);
        if (doc.FileSize() != size || doc.UndoCount() != 0 || doc.UndoStore().SpilledBytes() != 0)
            best = -1;
    }
    std::printf("%.9f\n", best);
    return 0;
}

void DeleteAll()
{
    const int64_t size = BigSize();
    TBenchTable::TDataFile file(size);
    double base = 1e30;
    {
        TFileHandle src = TFileHandle::OpenRead(file.Path());
        for (int i = 0; i < 3; ++i)
            base = std::min(base, TBenchBaseline::Copy(src, 0, size, false));
    }
    const TBenchChild::TResult run = TBenchChild::RunSelf("delete-all", {file.Path(), std::to_string(size)});
    double ours = -1;
    if (!run.Ok || std::sscanf(run.Output.c_str(), "%lf", &ours) != 1)
        ours = -1;
    if (ours < 0)
        std::fprintf(stderr, "delete-all: failed or inconsistent\n");
    TBenchTable::Print("delete-all", size, ours, base);
    TBenchTable::PrintValue("delete-all-peak-rss", run.PeakBytes);
}

// One byte changed in a 1 GiB document, saved until durable: only that byte (and its journal)
// reaches the disk. Beside it, the save as the program does it: right after the load, the
// whole file (a size change rules out the patch), next to one copy of the file flushed to
// the disk.
void SavePatch()
{
    const int64_t size = BigSize();
    TBenchTable::TDataFile file(size);
    TVxDocument doc;
    doc.LoadFromFile(file.Path());
    double ours = 1e30;
    for (int i = 0; i < 5; ++i) {
        doc.OverwriteByte(static_cast<int32_t>(size / 3) + i, static_cast<uint8_t>(i), true);
        double t = TBenchTable::Now();
        if (!doc.SaveToFile(file.Path(), true))
            std::fprintf(stderr, "save-patch: %s\n", doc.LastWriteError().c_str());
        ours = std::min(ours, TBenchTable::Now() - t);
    }
    TBenchTable::PrintNoBaseline("save-patch", size, ours);
}

void SaveAfterLoad()
{
    const int64_t size = BigSize();
    TBenchTable::TDataFile file(size);
    double ours = 1e30, base = 1e30;
    for (int i = 0; i < 3; ++i) {
        {
            TFileHandle src = TFileHandle::OpenRead(file.Path());
            base = std::min(base, TBenchBaseline::Copy(src, 0, size, true));
        }
        TVxDocument doc;
        doc.LoadFromFile(file.Path());
        double t = TBenchTable::Now();
        // One byte typed in insert mode: the rest of the document stands one byte off its
        // place in the working copy, the case that cannot go out straight from its pages.
        doc.InsertByte(0, 0, true);
        if (!doc.SaveToFile(file.Path(), false))
            std::fprintf(stderr, "save-after-load: %s\n", doc.LastWriteError().c_str());
        ours = std::min(ours, TBenchTable::Now() - t);
    }
    TBenchTable::Print("save-after-load", size, ours, base);
}
} // namespace

HX_BENCH_ROW("load", Load);
HX_BENCH_ROW("save", Save);
HX_BENCH_ROW("insert-middle", [] { BlockEdits(true); });
HX_BENCH_ROW("delete-middle", [] { BlockEdits(false); });
HX_BENCH_ROW("type-inserts", TypeInserts);
HX_BENCH_ROW("peak-rss", PeakRss);
HX_BENCH_ROW("delete-all", DeleteAll);
HX_BENCH_ROW("save-patch", SavePatch);
HX_BENCH_ROW("save-after-load", SaveAfterLoad);
HX_BENCH_CHILD("peak-rss", PeakRssChild);
HX_BENCH_CHILD("delete-all", DeleteAllChild);
