// Rows of the compare of two files, the document (A) against another file (B), both in the
// page cache:
//   compare-bytes    1 GiB, B with 1,000 single bytes changed, spread over the file; byte by
//                    byte, every change found   vs  cmp -l A B of the same files
//   compare-aligned  1 GiB, B with the same 1,000 changes plus 100 runs of 1..4,096 bytes
//                    inserted and 100 deleted; aware of inserted and deleted bytes, every
//                    change found as a hunk of its own and every other byte aligned
//                    vs  our compare-bytes of the same run (target at most 2); run in a
//                    child process, whose peak memory is printed as compare-aligned-peak-rss
//                    (target under 128 MiB)
// HEXBENCH_SIZE_MB=N runs them on N MiB. Windows has no cmp: there the baseline is a
// block-by-block compare in-process (BenchBaseline.h).

#include "BenchBaseline.h"
#include "BenchChild.h"
#include "BenchTable.h"

#include "TVxCompare.h"
#include "TVxDocument.h"
#include "TVxDocumentSource.h"
#include "TVxFileSource.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

namespace {
constexpr int64_t kMiB = 1 << 20;
constexpr uint32_t kSeed = 31;
constexpr int kChanged = 1000, kInserted = 100, kDeleted = 100;

struct TEdit {
    enum TKind { Change, Insert, Delete } Kind;
    int64_t At; // offset in A
    int64_t Length;
};

// The edits of B, spread evenly over A with some jitter, the kinds shuffled.
std::vector<TEdit> MakeEdits(int64_t size, bool withRuns)
{
    std::vector<TEdit::TKind> kinds(kChanged, TEdit::Change);
    if (withRuns) {
        kinds.insert(kinds.end(), kInserted, TEdit::Insert);
        kinds.insert(kinds.end(), kDeleted, TEdit::Delete);
    }
    std::mt19937_64 rng(7);
    std::shuffle(kinds.begin(), kinds.end(), rng);
    const int64_t spacing = size / int64_t(kinds.size() + 1);
    std::vector<TEdit> edits;
    for (size_t k = 0; k < kinds.size(); ++k) {
        const int64_t at = int64_t(k + 1) * spacing + int64_t(rng() % uint64_t(spacing / 4));
        edits.push_back({kinds[k], at, kinds[k] == TEdit::Change ? 1 : 1 + int64_t(rng() % 4096)});
    }
    return edits;
}

// B's bytes in order: A's pseudo-random stream (made in the same 1 MiB blocks as A's file)
// with the edits applied on the way.
TBenchTable::TDataFile::TFill EditedFill(int64_t sizeA, std::vector<TEdit> edits)
{
    struct TState {
        TBenchTable::TDataFile::TFill A = TBenchTable::TDataFile::RandomFill(kSeed);
        std::vector<uint8_t> Block = std::vector<uint8_t>(size_t(kMiB));
        int64_t BlockStart = -kMiB, APos = 0, Pending = 0;
        size_t Next = 0;
        std::mt19937_64 Rng{99};
    };
    auto st = std::make_shared<TState>();
    // Makes the block hold A's offset p (A is only ever read forwards).
    auto reach = [st, sizeA](int64_t p) {
        while (p >= st->BlockStart + kMiB) {
            st->BlockStart += kMiB;
            st->A(st->Block.data(), size_t(std::min(kMiB, sizeA - st->BlockStart)));
        }
    };
    return [st, reach, sizeA, edits = std::move(edits)](uint8_t *out, size_t count) {
        size_t done = 0;
        while (done < count) {
            if (st->Pending > 0) {
                const size_t n = size_t(std::min<int64_t>(st->Pending, int64_t(count - done)));
                for (size_t i = 0; i < n; ++i)
                    out[done + i] = uint8_t(st->Rng());
                st->Pending -= int64_t(n);
                done += n;
                continue;
            }
            if (st->Next < edits.size() && edits[st->Next].At == st->APos) {
                const TEdit &e = edits[st->Next++];
                if (e.Kind == TEdit::Change) {
                    reach(st->APos);
                    out[done++] = uint8_t(st->Block[size_t(st->APos - st->BlockStart)] ^ 0x5a);
                    ++st->APos;
                } else if (e.Kind == TEdit::Insert) {
                    st->Pending = e.Length;
                } else {
                    st->APos += e.Length;
                }
                continue;
            }
            reach(st->APos);
            const int64_t stop = std::min({st->Next < edits.size() ? edits[st->Next].At : sizeA,
                                           st->BlockStart + kMiB, st->APos + int64_t(count - done)});
            const size_t n = size_t(stop - st->APos);
            std::copy_n(st->Block.data() + (st->APos - st->BlockStart), n, out + done);
            st->APos += int64_t(n);
            done += n;
        }
    };
}

int64_t SizeOfB(int64_t sizeA, const std::vector<TEdit> &edits)
{
    for (const TEdit &e : edits)
        sizeA += e.Kind == TEdit::Insert ? e.Length : e.Kind == TEdit::Delete ? -e.Length : 0;
    return sizeA;
}

// Whether the hunks are exactly the edits: one each, with their lengths.
bool FoundAll(const TVxDiffList &list, const std::vector<TEdit> &edits)
{
    if (list.Truncated() || list.Count() != edits.size())
        return false;
    for (size_t i = 0; i < edits.size(); ++i) {
        const TVxDiffHunk &h = list[i];
        const TEdit &e = edits[i];
        const int64_t wantA = e.Kind == TEdit::Insert ? 0 : e.Length, wantB = e.Kind == TEdit::Delete ? 0 : e.Length;
        if (h.ALength != wantA || h.BLength != wantB || std::llabs(h.AStart - e.At) > 8)
            return false;
    }
    return true;
}

// Best of three compares of the document at pathA with the file at pathB; -1 when a run did
// not find exactly the edits.
double TimeCompare(TVxCompare::TMode mode, const std::string &pathA, const std::string &pathB,
                   const std::vector<TEdit> &edits)
{
    TVxDocument doc;
    doc.LoadFromFile(pathA);
    TVxDocumentSource a(doc);
    TVxFileSource b(pathB);
    bool ok = true;
    const double t = TBenchTable::Best(3, [&] { ok = ok && FoundAll(TVxCompare::Run(mode, a, b), edits); });
    return ok ? t : -1;
}

struct TCompareFixture {
    const int64_t Size = TBenchTable::Size(1024 * kMiB);
    const std::vector<TEdit> Changes = MakeEdits(Size, false);
    const std::vector<TEdit> Everything = MakeEdits(Size, true);
    TBenchTable::TDataFile A{Size, TBenchTable::TDataFile::RandomFill(kSeed)};
    TBenchTable::TDataFile BChanged{Size, EditedFill(Size, Changes)};
    TBenchTable::TDataFile BEdited{SizeOfB(Size, Everything), EditedFill(Size, Everything)};
    double Bytes = -1;

    static TCompareFixture &Get()
    {
        static TCompareFixture f;
        return f;
    }
    double BytesTime()
    {
        if (Bytes < 0)
            Bytes = TimeCompare(TVxCompare::TMode::Bytes, A.Path(), BChanged.Path(), Changes);
        if (Bytes < 0)
            std::fprintf(stderr, "compare-bytes: the hunks are not the changes\n");
        return Bytes;
    }
};

void CompareBytes()
{
    TCompareFixture &f = TCompareFixture::Get();
    const double ours = f.BytesTime();
    double base = 1e30;
    for (int i = 0; i < 3; ++i)
        base = std::min(base, TBenchBaseline::Differ(f.A.Path(), f.BChanged.Path()));
    TBenchTable::Print("compare-bytes", f.Size, ours, base);
}

// The child: args are A's path, B's path and A's size; prints the best time or -1.
int CompareAlignedChild(const std::vector<std::string> &args)
{
    if (args.size() != 3)
        return 2;
    const int64_t size = std::strtoll(args[2].c_str(), nullptr, 10);
    std::printf("%.9f\n", TimeCompare(TVxCompare::TMode::Aligned, args[0], args[1], MakeEdits(size, true)));
    return 0;
}

void CompareAligned()
{
    TCompareFixture &f = TCompareFixture::Get();
    const double bytes = f.BytesTime();
    const TBenchChild::TResult run =
        TBenchChild::RunSelf("compare-aligned", {f.A.Path(), f.BEdited.Path(), std::to_string(f.Size)});
    double ours = -1;
    if (!run.Ok || std::sscanf(run.Output.c_str(), "%lf", &ours) != 1 || ours < 0) {
        std::fprintf(stderr, "compare-aligned: failed, or the hunks are not the edits\n");
        ours = -1;
    }
    TBenchTable::Print("compare-aligned", f.Size, ours, bytes);
    TBenchTable::PrintValue("compare-aligned-peak-rss", run.PeakBytes);
}
} // namespace

HX_BENCH_ROW("compare-bytes", CompareBytes);
HX_BENCH_ROW("compare-aligned", CompareAligned);
HX_BENCH_CHILD("compare-aligned", CompareAlignedChild);
