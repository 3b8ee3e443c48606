#include "BenchTable.h"

#include "TTempFile.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

namespace {
std::vector<std::pair<std::string, TBenchTable::TRowFn>> &Rows()
{
    static std::vector<std::pair<std::string, TBenchTable::TRowFn>> rows;
    return rows;
}

// Lines printed so far: a row that adds none could not measure.
long gLines = 0;

// Paths are UTF-8 on every system; on Windows a plain std::string path would be taken as
// the ANSI code page.
std::filesystem::path FsPath(const std::string &utf8) { return std::filesystem::u8path(utf8); }
} // namespace

bool TBenchTable::Register(const std::string &name, TRowFn fn)
{
    Rows().emplace_back(name, std::move(fn));
    return true;
}

int TBenchTable::Main(const std::vector<std::string> &wanted)
{
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
    int rc = 0;
    for (const auto &r : Rows()) {
        if (!wants(r.first))
            continue;
        const long before = gLines;
        r.second();
        if (gLines == before) {
            std::fprintf(stderr, "%s: no figures\n", r.first.c_str());
            rc = 1;
        }
    }
    return rc;
}

void TBenchTable::Print(const std::string &name, int64_t size, double ours, double baseline)
{
    std::printf("%s\t%lld\t%.6f\t%.6f\t%.3f\n", name.c_str(), static_cast<long long>(size), ours, baseline,
                ours / baseline);
    std::fflush(stdout);
    ++gLines;
}

void TBenchTable::PrintValue(const std::string &name, int64_t size)
{
    std::printf("%s\t%lld\t-\t-\t-\n", name.c_str(), static_cast<long long>(size));
    std::fflush(stdout);
    ++gLines;
}

void TBenchTable::PrintNoBaseline(const std::string &name, int64_t size, double ours)
{
    std::printf("%s\t%lld\t%.6f\t-\t-\n", name.c_str(), static_cast<long long>(size), ours);
    std::fflush(stdout);
    ++gLines;
}

std::vector<int64_t> TBenchTable::Sizes(const std::vector<int64_t> &usual)
{
    const char *mb = std::getenv("HEXBENCH_SIZE_MB");
    if (!mb || !*mb)
        return usual;
    char *end = nullptr;
    const long long n = std::strtoll(mb, &end, 10);
    // Documents end below 2 GiB.
    if (*end != '\0' || n < 1 || n > 2047) {
        std::fprintf(stderr, "HEXBENCH_SIZE_MB=%s ignored: 1 to 2047 MiB\n", mb);
        return usual;
    }
    return {int64_t(n) << 20};
}

double TBenchTable::Now()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
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

void TBenchTable::Remove(const std::string &path)
{
    std::error_code ec;
    std::filesystem::remove(FsPath(path), ec);
}

TBenchTable::TDataFile::TDataFile(int64_t size, uint32_t seed) : TDataFile(size, RandomFill(seed)) {}

TBenchTable::TDataFile::TFill TBenchTable::TDataFile::RandomFill(uint32_t seed)
{
    return [rng = std::mt19937_64(seed)](uint8_t *block, size_t count) mutable {
        for (size_t i = 0; i < count; i += 8) {
            const uint64_t w = rng();
            std::memcpy(block + i, &w, std::min<size_t>(8, count - i));
        }
    };
}

TBenchTable::TDataFile::TDataFile(int64_t size, const TFill &fill) : FSize(size)
{
    TTempFile t = TTempFile::CreateNamed(TTempFile::TempDir());
    FPath = t.Name();
    t.Keep();
    std::vector<uint8_t> buf(1 << 20);
    for (int64_t pos = 0; pos < size;) {
        const size_t n = static_cast<size_t>(std::min<int64_t>(size - pos, int64_t(buf.size())));
        fill(buf.data(), n);
        t.Handle().WriteAt(pos, buf.data(), n);
        pos += static_cast<int64_t>(n);
    }
    // Let writeback settle so that the first measured copy does not pay for it.
    t.Handle().Sync();
}

TBenchTable::TDataFile::~TDataFile() { Remove(FPath); }

TBenchTable::TDataDir::TDataDir(const std::string &label)
{
    // A fresh random name each try: creating the folder is what claims it.
    for (int i = 0; i < 100; ++i) {
        const std::string path = TTempFile::TempDir() + "/" + label + "-" + TTempFile::RandomName();
        std::error_code ec;
        if (std::filesystem::create_directory(FsPath(path), ec)) {
            FPath = path;
            return;
        }
        if (ec)
            break;
    }
    std::fprintf(stderr, "cannot make a folder for %s in %s\n", label.c_str(), TTempFile::TempDir().c_str());
}

TBenchTable::TDataDir::~TDataDir()
{
    std::error_code ec;
    if (!FPath.empty())
        std::filesystem::remove_all(FsPath(FPath), ec);
}
