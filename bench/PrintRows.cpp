// print-pdf: printing a 1 MiB selection (65,536 lines) with the default print settings to a
// PDF file, until the file is complete. Baseline: Qt's PDF output drawing the same text at
// the same places with nothing else to do (see PrintChild.cpp). Each job runs in a child
// process; print-pdf-peak-rss is the peak resident size of ours, Qt and fonts included.
// The pages and pages per second go to stderr.

#include "BenchChild.h"
#include "BenchTable.h"

#include "TTempFile.h"

#include <cstdio>
#include <string>

namespace {
constexpr int64_t kSize = 1 << 20;

struct TChildRun {
    double Seconds = -1;
    int Pages = 0;
    int64_t PeakBytes = 0;
};

TChildRun RunChild(const char *mode, const std::string &data, const std::string &pdf)
{
    TChildRun run;
    const TBenchChild::TResult child = TBenchChild::Run(TBenchChild::Beside(HEXBENCH_PRINT), {mode, data, pdf});
    if (child.Ok && std::sscanf(child.Output.c_str(), "%lf %d", &run.Seconds, &run.Pages) == 2)
        run.PeakBytes = child.PeakBytes;
    else
        run.Seconds = -1;
    return run;
}

void PrintPdf()
{
    TBenchTable::TDataFile file(kSize, 11);
    const std::string pdf = TTempFile::TempDir() + "/hexbench-print.pdf";
    const TChildRun base = RunChild("baseline", file.Path(), pdf);
    const TChildRun ours = RunChild("ours", file.Path(), pdf);
    TBenchTable::Remove(pdf);
    if (ours.Seconds < 0 || base.Seconds < 0) {
        std::fprintf(stderr, "print-pdf: a print job failed\n");
        return;
    }
    TBenchTable::Print("print-pdf", kSize, ours.Seconds, base.Seconds);
    TBenchTable::PrintValue("print-pdf-peak-rss", ours.PeakBytes);
    std::fprintf(stderr, "print-pdf: %d pages, %.0f pages/s (baseline %d pages, %.0f pages/s)\n", ours.Pages,
                 ours.Pages / ours.Seconds, base.Pages, base.Pages / base.Seconds);
}
} // namespace

HX_BENCH_ROW("print-pdf", PrintPdf);
