// Rows of the operations on a selection: XOR of a whole 1 GiB document, until the working
// copy holds the result, beside one kernel copy of the file (BenchBaseline.h). It runs in a
// child so that its peak memory, loading included, is its own.

#include "BenchBaseline.h"
#include "BenchChild.h"
#include "BenchTable.h"

#include "TFileHandle.h"
#include "TVxBitOperation.h"
#include "TVxDocument.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {
// Prints the best of three XORs, or -1 when the document did not read as XORed after one,
// and back after its undo.
int XorAllChild(const std::vector<std::string> &args)
{
    if (args.size() != 1)
        return 2;
    TVxDocument doc;
    doc.LoadFromFile(args[0]);
    const int32_t size = doc.FileSize();
    const int32_t probe = size / 2 + 3;
    const uint8_t before = doc.ByteAt(probe);
    TVxBitOperation op(TVxBitOperation::TOp::Xor, {1, false}, 0x5A, 0);
    double best = 1e30;
    for (int i = 0; i < 3; ++i) {
        const double t = TBenchTable::Now();
        doc.TransformRange(0, size, op, true);
        best = std::min(best, TBenchTable::Now() - t);
        if (doc.ByteAt(probe) != (before ^ 0x5A))
            best = -1;
        doc.Undo();
        if (doc.ByteAt(probe) != before)
            best = -1;
    }
    std::printf("%.9f\n", best);
    return 0;
}

void XorAll()
{
    const int64_t size = TBenchTable::Size(int64_t(1024) << 20) - 1;
    TBenchTable::TDataFile file(size);
    double base = 1e30;
    {
        TFileHandle src = TFileHandle::OpenRead(file.Path());
        for (int i = 0; i < 3; ++i)
            base = std::min(base, TBenchBaseline::Copy(src, 0, size, false));
    }
    const TBenchChild::TResult run = TBenchChild::RunSelf("xor-all", {file.Path()});
    double ours = -1;
    if (!run.Ok || std::sscanf(run.Output.c_str(), "%lf", &ours) != 1)
        ours = -1;
    if (ours < 0)
        std::fprintf(stderr, "xor-all: failed or inconsistent\n");
    TBenchTable::Print("xor-all", size, ours, base);
    TBenchTable::PrintValue("xor-all-peak-rss", run.PeakBytes);
}
} // namespace

HX_BENCH_ROW("xor-all", XorAll);
HX_BENCH_CHILD("xor-all", XorAllChild);
