// Rows of search and replace, each beside a tool that does the same job, run in the same
// process on the same bytes:
//   search-fwd        1 GiB, pattern absent        vs  grep -c -F PATTERN FILE
//   search-fwd-icase  1 GiB, pattern absent        vs  grep -c -F -i PATTERN FILE
//   search-fwd-hex    1 GiB, the same bytes typed as hexadecimal digits, through the search
//                     engine as the find dialog runs it   vs  grep -c -F PATTERN FILE
//   search-back       1 GiB, pattern absent        vs  our own search-fwd
//   search-fwd-utf8   1 GiB of Japanese UTF-8 text (TBenchText), "検索語" (9 bytes) absent,
//                     through the search engine with the UTF-8 code   vs  grep -c -F of its bytes
//   search-fwd-utf8-icase   the same ignoring case   vs  grep -c -F -i of its bytes
//   replace-all       64 MiB, "a" -> "bc" x 1e6    vs  sed 's/a/bc/g' FILE > OUT
//   replace-all-250k  the same with 250,000 matches, printed by the replace-all row (it shows
//                     that the cost grows linearly with the number of matches)
// Both files sit in the page cache; the tools run with LC_ALL=C, their fastest setting.
// Windows has neither grep nor sed: there the baselines are a Horspool scan of the file read
// in large blocks and the same stream rewrite done in-process (BenchBaseline.h).

#include "BenchBaseline.h"
#include "BenchTable.h"
#include "BenchText.h"

#include "TTempFile.h"
#include "TVxDocument.h"
#include "TVxReplacer.h"
#include "TVxSearchEngine.h"
#include "TVxSearcher.h"
#include "TVxTextCodec.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
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

// A 1 GiB document, the needle absent from it, how our search looks for it, and the forward
// time; one fixture per kind of document, shared by its rows whichever run.
struct TSearchFixture {
    // One search of the needle from start to endBound; -1 when not found.
    using TFind = std::function<int32_t(TSearchFixture &f, int32_t start, int32_t endBound, bool ic, bool back)>;

    const int64_t Size = TBenchTable::Size(1024 * kMiB - 1);
    TBenchTable::TDataFile File;
    const std::string Needle; // the bytes grep looks for
    TFind Find;
    TVxDocument Doc;
    TVxSearcher Searcher{Doc};
    TVxSearchEngine Engine{Doc};
    double Forward = -1;

    TSearchFixture(const TBenchTable::TDataFile::TFill &fill, std::string needle, TFind find)
        : File(Size, fill), Needle(std::move(needle)), Find(std::move(find))
    {
        Doc.LoadFromFile(File.Path());
        if (Find(*this, 0, Doc.FileSize() - 1, true, false) != -1)
            std::fprintf(stderr, "search rows: the needle occurs in the data\n");
        // Warm-up: both files in the page cache before anything is timed.
        TBenchBaseline::Find(File.Path(), Needle, false);
    }
    // Random bytes, the needle's bytes matched as they are.
    static TSearchFixture &Random()
    {
        static TSearchFixture f(TBenchTable::TDataFile::RandomFill(11), kNeedle,
                                [](TSearchFixture &s, int32_t start, int32_t endBound, bool ic, bool back) {
                                    return s.Searcher.Search(s.Needle, start, endBound, ic, back);
                                });
        return f;
    }
    // Japanese UTF-8 text, the needle a UTF-8 text searched in the UTF-8 code as the find
    // dialog does it.
    static TSearchFixture &Utf8Text()
    {
        static TSearchFixture f(Utf8TextFill(), TVxTextCodec::ToUtf8(TBenchText::kNeedle),
                                [](TSearchFixture &s, int32_t start, int32_t endBound, bool ic, bool back) {
                                    s.Engine.SetCodec(TVxTextCodec(ccUTF8));
                                    return s.Engine.Search(s.Needle, start, endBound, ic, back);
                                });
        return f;
    }
    double Ours(bool ic, bool back)
    {
        const int32_t last = Doc.FileSize() - 1;
        return TBenchTable::Best(3, [&] {
            if (Find(*this, back ? last : 0, back ? 0 : last, ic, back) != -1)
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
        return BestOf(3, [&] { return TBenchBaseline::Find(File.Path(), Needle, ic); });
    }

private:
    // Lines of TBenchText in UTF-8, drawn at random from a few thousand, without end.
    static TBenchTable::TDataFile::TFill Utf8TextFill()
    {
        std::vector<std::string> lines;
        for (const std::u16string &line : TBenchText::Lines(4096, 17))
            lines.push_back(TVxTextCodec::ToUtf8(line));
        return [lines = std::move(lines), rng = std::mt19937(23), pending = std::string()](uint8_t *block,
                                                                                         size_t count) mutable {
            for (size_t done = 0; done < count;) {
                if (pending.empty())
                    pending = lines[rng() % lines.size()];
                const size_t n = std::min(count - done, pending.size());
                std::memcpy(block + done, pending.data(), n);
                pending.erase(0, n);
                done += n;
            }
        };
    }
};

void SearchForward()
{
    TSearchFixture &f = TSearchFixture::Random();
    const double base = f.FindBaseline(false);
    TBenchTable::Print("search-fwd", f.Size, f.ForwardTime(), base);
}

void SearchForwardIgnoreCase()
{
    TSearchFixture &f = TSearchFixture::Random();
    const double base = f.FindBaseline(true);
    TBenchTable::Print("search-fwd-icase", f.Size, f.Ours(true, false), base);
}

void SearchForwardHex()
{
    TSearchFixture &f = TSearchFixture::Random();
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

void SearchForwardUtf8()
{
    TSearchFixture &f = TSearchFixture::Utf8Text();
    const double base = f.FindBaseline(false);
    TBenchTable::Print("search-fwd-utf8", f.Size, f.ForwardTime(), base);
}

void SearchForwardUtf8IgnoreCase()
{
    TSearchFixture &f = TSearchFixture::Utf8Text();
    const double base = f.FindBaseline(true);
    TBenchTable::Print("search-fwd-utf8-icase", f.Size, f.Ours(true, false), base);
}

void SearchBackward()
{
    TSearchFixture &f = TSearchFixture::Random();
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
HX_BENCH_ROW("search-fwd-utf8", SearchForwardUtf8);
HX_BENCH_ROW("search-fwd-utf8-icase", SearchForwardUtf8IgnoreCase);
HX_BENCH_ROW("replace-all", ReplaceAll);
