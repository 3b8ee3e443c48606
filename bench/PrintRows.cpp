// print-pdf: printing a 1 MiB selection (65,536 lines) with the default print settings to a
// PDF file, until the file is complete. Baseline: Qt's PDF output drawing the same text at
// the same places with nothing else to do (see PrintChild.cpp). Each job runs in a child
// process; print-pdf-peak-rss is the peak resident size of ours, Qt and fonts included.
// The pages and pages per second go to stderr.

#include "BenchTable.h"

#include "TTempFile.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace {
constexpr int64_t kSize = 1 << 20;

struct TChildRun {
    double Seconds = -1;
    int Pages = 0;
    long PeakRssKiB = 0;
};

TChildRun RunChild(const char *mode, const std::string &data, const std::string &pdf)
{
    TChildRun run;
    int out[2];
    if (::pipe(out) != 0)
        return run;
    std::fflush(stdout);
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::close(out[0]);
        ::close(out[1]);
        ::execl(HEXBENCH_PRINT, HEXBENCH_PRINT, mode, data.c_str(), pdf.c_str(), static_cast<char *>(nullptr));
        ::_exit(127);
    }
    ::close(out[1]);
    char buf[128] = {};
    size_t got = 0;
    for (ssize_t n; got + 1 < sizeof buf && (n = ::read(out[0], buf + got, sizeof buf - 1 - got)) > 0;)
        got += size_t(n);
    ::close(out[0]);
    int status = 0;
    rusage ru{};
    ::wait4(child, &status, 0, &ru);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0 && std::sscanf(buf, "%lf %d", &run.Seconds, &run.Pages) == 2)
        run.PeakRssKiB = ru.ru_maxrss;
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
    ::unlink(pdf.c_str());
    if (ours.Seconds < 0 || base.Seconds < 0) {
        std::fprintf(stderr, "print-pdf: a print job failed\n");
        return;
    }
    TBenchTable::Print("print-pdf", kSize, ours.Seconds, base.Seconds);
    TBenchTable::PrintValue("print-pdf-peak-rss", int64_t(ours.PeakRssKiB) * 1024);
    std::fprintf(stderr, "print-pdf: %d pages, %.0f pages/s (baseline %d pages, %.0f pages/s)\n", ours.Pages,
                 ours.Pages / ours.Seconds, base.Pages, base.Pages / base.Seconds);
}
} // namespace

HX_BENCH_ROW("print-pdf", PrintPdf);
