// Rows of search and replace, each beside a tool that does the same job, run in the same
// process on the same bytes:
//   search-fwd        1 GiB, pattern absent        vs  grep -c -F PATTERN FILE
//   search-fwd-icase  1 GiB, pattern absent        vs  grep -c -F -i PATTERN FILE
//   search-fwd-hex    1 GiB, the same bytes typed as hexadecimal digits, through the search
//                     engine as the find dialog runs it   vs  grep -c -F PATTERN FILE
//   search-back       1 GiB, pattern absent        vs  our own search-fwd
//   replace-all       64 MiB, "a" -> "bc" x 1e6    vs  sed 's/a/bc/g' FILE > OUT
//   replace-all-250k  the same with 250,000 matches, printed by the replace-all row (it shows
//                     that the cost grows linearly with the number of matches)
// Both files sit in the page cache; the tools run with LC_ALL=C, their fastest setting.
// Windows has neither grep nor sed: there the baselines are a Horspool scan of the file read
// in large blocks and the same stream rewrite done in-process (BenchBaseline.h).

#include "BenchBaseline.h"
#include "BenchTable.h"

#include "TTempFile.h"
#include "TVxDocument.h"
#include "TVxReplacer.h"
#include "TVxSearchEngine.h"
#include "TVxSearcher.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

namespace {
constexpr int64_t kMiB = 1 << 20;
const char kNeedle[] = "Hexcavator needle #7";

double BestOf(int reps, const std::function<double()> &fn)
{
    double best = 1e30;
    for (int i = 0; i < reps; ++i)
        best = std::min(best, fn());
    return best;
}

// The 1 GiB document and the forward time, shared by the search rows whichever run.
struct TSearchFixture {
    const int64_t Size = TBenchTable::Size(1024 * kMiB - 1);
    TBenchTable::TDataFile File{Size, 11};
    TVxDocument Doc;
    TVxSearcher Searcher{Doc};
    double Forward = -1;

    TSearchFixture()
    {
        Doc.LoadFromFile(File.Path());
        if (Searcher.Search(kNeedle, 0, Doc.FileSize() - 1, true, false) != -1)
            std::fprintf(stderr, "search rows: the needle occurs in the data\n");
        // Warm-up: both files in the page cache before anything is timed.
        TBenchBaseline::Find(File.Path(), kNeedle, false);
    }
    static TSearchFixture &Get()
    {
        static TSearchFixture f;
        return f;
    }
    double Ours(bool ic, bool back)
    {
        const int32_t last = Doc.FileSize() - 1;
        return TBenchTable::Best(3, [&] {
            if (Searcher.Search(kNeedle, back ? last : 0, back ? 0 : last, ic, back) != -1)
                std::fprintf(stderr, "unexpected match\n");
        });
    }
    double ForwardTime()
    {
        if (Forward < 0)
            Forward = Ours(false, false);
        return Forward;
    }
    double FindBaseline(bool ic)
    {
        return BestOf(3, [&] { return TBenchBaseline::Find(File.Path(), kNeedle, ic); });
    }
};

void SearchForward()
{
    TSearchFixture &f = TSearchFixture::Get();
    const double base = f.FindBaseline(false);
    TBenchTable::Print("search-fwd", f.Size, f.ForwardTime(), base);
}

void SearchForwardIgnoreCase()
{
    TSearchFixture &f = TSearchFixture::Get();
    const double base = f.FindBaseline(true);
    TBenchTable::Print("search-fwd-icase", f.Size, f.Ours(true, false), base);
}

void SearchForwardHex()
{
    TSearchFixture &f = TSearchFixture::Get();
    std::string hex;
    for (const char c : std::string(kNeedle)) {
        char pair[4];
        std::snprintf(pair, sizeof pair, "%02x ", static_cast<unsigned char>(c));
        hex += pair;
    }
    TVxSearchEngine engine(f.Doc);
    const double ours = TBenchTable::Best(3, [&] {
        engine.State().SetSearchText(std::string(), false, true); // each run parses the text anew
        if (engine.Find(hex, true, false, true, 0, 0, -1, true) != -1)
            std::fprintf(stderr, "unexpected match\n");
    });
    TBenchTable::Print("search-fwd-hex", f.Size, ours, f.FindBaseline(false));
}

void SearchBackward()
{
    TSearchFixture &f = TSearchFixture::Get();
    TBenchTable::Print("search-back", f.Size, f.Ours(false, true), f.ForwardTime());
}

// 64 MiB of random bytes without any "a", then exactly `matches` of them at random places.
std::string MakeReplaceData(int64_t size, int32_t matches)
{
    std::mt19937_64 rng(5);
    std::vector<uint8_t> d(static_cast<size_t>(size));
    for (auto &b : d) {
        b = static_cast<uint8_t>(rng());
        if (b == 'a')
            b = 'b';
    }
    for (int32_t placed = 0; placed < matches;) {
        size_t at = rng() % d.size();
        if (d[at] != 'a') {
            d[at] = 'a';
            ++placed;
        }
    }
    TTempFile f = TTempFile::CreateNamed(TTempFile::TempDir());
    f.Handle().WriteAt(0, d.data(), d.size());
    f.Keep();
    return f.Name();
}

void ReplaceAll()
{
    const int64_t size = 64 * kMiB;
    for (int32_t matches : {1000000, 250000}) {
        const std::string path = MakeReplaceData(size, matches);
        const std::string out = path + ".sed";
        TBenchBaseline::Replace(path, 'a', "bc", out);
        const double sed = BestOf(3, [&] { return TBenchBaseline::Replace(path, 'a', "bc", out); });
        double ours = 1e30;
        for (int i = 0; i < 3; ++i) {
            TVxDocument doc;
            doc.LoadFromFile(path);
            double t = TBenchTable::Now();
            int32_t n = TVxReplacer(doc).Replace(0, "a", "bc", true, false).Count;
            doc.FlushCache(); // until the working copy is consistent
            ours = std::min(ours, TBenchTable::Now() - t);
            if (n != matches || doc.FileSize() != size + matches)
                std::fprintf(stderr, "replace-all: %d replacements\n", n);
        }
        TBenchTable::Print(matches == 1000000 ? "replace-all" : "replace-all-250k", size, ours, sed);
        TBenchTable::Remove(out);
        TBenchTable::Remove(path);
    }
}
} // namespace

HX_BENCH_ROW("search-fwd", SearchForward);
HX_BENCH_ROW("search-fwd-icase", SearchForwardIgnoreCase);
HX_BENCH_ROW("search-fwd-hex", SearchForwardHex);
HX_BENCH_ROW("search-back", SearchBackward);
HX_BENCH_ROW("replace-all", ReplaceAll);
