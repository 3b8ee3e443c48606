#include "BenchTable.h"

#include "TTempFile.h"

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <map>
#include <random>
#include <stdexcept>
#include <ctime>
#include <unistd.h>

namespace {
std::vector<std::pair<std::string, TBenchTable::TRowFn>> &Rows()
{
    static std::vector<std::pair<std::string, TBenchTable::TRowFn>> rows;
    return rows;
}
} // namespace

bool TBenchTable::Register(const std::string &name, TRowFn fn)
{
    Rows().emplace_back(name, std::move(fn));
    return true;
}

int TBenchTable::Main(int argc, char **argv)
{
    std::vector<std::string> wanted(argv + 1, argv + argc);
    auto wants = [&](const std::string &name) {
        return wanted.empty() || std::find(wanted.begin(), wanted.end(), name) != wanted.end();
    };
    for (const auto &w : wanted) {
        bool known = std::any_of(Rows().begin(), Rows().end(), [&](const auto &r) { return r.first == w; });
        if (!known) {
            std::fprintf(stderr, "unknown row %s; rows:", w.c_str());
            for (const auto &r : Rows())
                std::fprintf(stderr, " %s", r.first.c_str());
            std::fprintf(stderr, "\n");
            return 2;
        }
    }
    std::printf("name\tsize\tours_s\tbaseline_s\tratio\n");
    for (const auto &r : Rows())
        if (wants(r.first))
            r.second();
    return 0;
}

void TBenchTable::Print(const std::string &name, int64_t size, double ours, double baseline)
{
    std::printf("%s\t%lld\t%.6f\t%.6f\t%.3f\n", name.c_str(), static_cast<long long>(size), ours, baseline,
                ours / baseline);
    std::fflush(stdout);
}

void TBenchTable::PrintValue(const std::string &name, int64_t size)
{
    std::printf("%s\t%lld\t-\t-\t-\n", name.c_str(), static_cast<long long>(size));
    std::fflush(stdout);
}

void TBenchTable::PrintNoBaseline(const std::string &name, int64_t size, double ours)
{
    std::printf("%s\t%lld\t%.6f\t-\t-\n", name.c_str(), static_cast<long long>(size), ours);
    std::fflush(stdout);
}

double TBenchTable::Now()
{
    timespec ts;
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

double TBenchTable::Best(int reps, const std::function<void()> &fn)
{
    double best = 1e30;
    for (int i = 0; i < reps; ++i) {
        double t = Now();
        fn();
        best = std::min(best, Now() - t);
    }
    return best;
}

TBenchTable::TDataFile::TDataFile(int64_t size, uint32_t seed) : FSize(size)
{
    TTempFile t = TTempFile::CreateNamed(TTempFile::TempDir());
    FPath = t.Name();
    t.Keep();
    std::mt19937_64 rng(seed);
    std::vector<uint64_t> buf(1 << 17); // 1 MiB
    for (int64_t pos = 0; pos < size;) {
        for (auto &w : buf)
            w = rng();
        size_t n = static_cast<size_t>(std::min<int64_t>(size - pos, int64_t(buf.size() * 8)));
        t.Handle().WriteAt(pos, buf.data(), n);
        pos += static_cast<int64_t>(n);
    }
    // Let writeback settle so that the first measured copy does not pay for it.
    ::fdatasync(t.Handle().Fd());
}

TBenchTable::TDataFile::~TDataFile() { ::unlink(FPath.c_str()); }
