// Rows of the checksums over a 1 GiB document in the page cache, computed as the dialog does
// (TVxChecksumRunner: one sequential read, a worker computing):
//   hash-sha256       SHA-256                    vs  sha256sum FILE (target at most 1.0)
//   hash-md5          MD5                        vs  md5sum FILE (target at most 1.0)
//   hash-crc32        CRC-32                     vs  zlib's crc32_z over the same bytes in
//                                                    memory, in the same run (target at most 1.25)
//   hash-sha1         SHA-1                      no baseline (a part of the next row's)
//   checksum-default  CRC-32, MD5, SHA-1 and SHA-256 in one pass  vs  the sum of the four
//                                                    single rows (target at most 1.0)
// Each time is the best of three. HEXBENCH_SIZE_MB=N runs them on N MiB; Windows has no
// sha256sum or md5sum, so there those rows print no baseline.

#include "BenchBaseline.h"
#include "BenchTable.h"

#include "TVxChecksumRunner.h"
#include "TVxDocument.h"

#include <zlib.h>

#include <cstdio>
#include <map>
#include <memory>
#include <vector>

namespace {
constexpr int64_t kMiB = 1 << 20;

struct TChecksumFixture {
    const int64_t Size = TBenchTable::Size(1024 * kMiB);
    TBenchTable::TDataFile File{Size, 41};
    TVxDocument Doc;
    std::map<TVxChecksum, double> Single;

    TChecksumFixture() { Doc.LoadFromFile(File.Path()); }
    static TChecksumFixture &Get()
    {
        static TChecksumFixture f;
        return f;
    }
    double Time(const std::vector<TVxChecksum> &kinds)
    {
        return TBenchTable::Best(3, [&] { TVxChecksumRunner::Run(Doc, 0, Size, kinds, nullptr); });
    }
    // One algorithm alone, measured once per run.
    double TimeOf(TVxChecksum kind)
    {
        auto it = Single.find(kind);
        if (it == Single.end())
            it = Single.emplace(kind, Time({kind})).first;
        return it->second;
    }
};

void PrintAgainst(const std::string &name, int64_t size, double ours, double base)
{
    if (base > 0)
        TBenchTable::Print(name, size, ours, base);
    else
        TBenchTable::PrintNoBaseline(name, size, ours);
}

void ToolRow(const std::string &name, TVxChecksum kind, const std::string &tool)
{
    TChecksumFixture &f = TChecksumFixture::Get();
    const double ours = f.TimeOf(kind);
    double base = 1e30;
    for (int i = 0; i < 3; ++i)
        base = std::min(base, TBenchBaseline::Sum(tool, f.File.Path()));
    PrintAgainst(name, f.Size, ours, base);
}

void HashCrc32()
{
    TChecksumFixture &f = TChecksumFixture::Get();
    const double ours = f.TimeOf(TVxChecksum::Crc32);
    std::vector<uint8_t> bytes(size_t(f.Size));
    if (f.Doc.ReadInto(0, bytes.data(), int32_t(f.Size)) != int32_t(f.Size)) {
        std::fprintf(stderr, "hash-crc32: the document ended early\n");
        return;
    }
    uLong crc = 0;
    const double base = TBenchTable::Best(3, [&] { crc = crc32_z(0, bytes.data(), bytes.size()); });
    // The value is used, so the call is not optimised away.
    if (crc == 0)
        std::fprintf(stderr, "hash-crc32: CRC 0\n");
    TBenchTable::Print("hash-crc32", f.Size, ours, base);
}

void HashSha1()
{
    TChecksumFixture &f = TChecksumFixture::Get();
    TBenchTable::PrintNoBaseline("hash-sha1", f.Size, f.TimeOf(TVxChecksum::Sha1));
}

void ChecksumDefault()
{
    TChecksumFixture &f = TChecksumFixture::Get();
    double singles = 0;
    for (TVxChecksum k : TVxChecksumKinds::Defaults())
        singles += f.TimeOf(k);
    TBenchTable::Print("checksum-default", f.Size, f.Time(TVxChecksumKinds::Defaults()), singles);
}
} // namespace

HX_BENCH_ROW("hash-sha256", [] { ToolRow("hash-sha256", TVxChecksum::Sha256, "sha256sum"); });
HX_BENCH_ROW("hash-md5", [] { ToolRow("hash-md5", TVxChecksum::Md5, "md5sum"); });
HX_BENCH_ROW("hash-crc32", HashCrc32);
HX_BENCH_ROW("hash-sha1", HashSha1);
HX_BENCH_ROW("checksum-default", ChecksumDefault);
