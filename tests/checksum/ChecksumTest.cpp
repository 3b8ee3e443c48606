// The checksums against published check values and against Python's hashlib and zlib on
// random data fed in awkward pieces; the range edges and a cancel of the document runner.

#include "TVxChecksumRunner.h"
#include "TVxChecksumSet.h"
#include "TVxProgress.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {
using TValues = std::map<TVxChecksum, std::string>;

TValues Compute(const std::vector<TVxChecksum> &kinds, const std::vector<uint8_t> &data, const std::vector<size_t> &pieces = {})
{
    TVxChecksumSet set(kinds);
    size_t at = 0;
    for (size_t i = 0; at < data.size(); ++i) {
        const size_t n = pieces.empty() ? data.size() : std::min(pieces[i % pieces.size()], data.size() - at);
        set.Update(data.data() + at, n);
        at += n;
    }
    TValues values;
    for (const TVxChecksumResult &r : set.Results())
        values[r.Kind] = r.Value;
    return values;
}

TValues ComputeAll(const std::vector<uint8_t> &data, const std::vector<size_t> &pieces = {})
{
    return Compute(TVxChecksumKinds::All(), data, pieces);
}

std::vector<uint8_t> Bytes(const std::string &text) { return std::vector<uint8_t>(text.begin(), text.end()); }

std::vector<uint8_t> RandomBytes(size_t n, uint32_t seed)
{
    std::mt19937 rng(seed);
    std::vector<uint8_t> data(n);
    for (uint8_t &b : data)
        b = uint8_t(rng());
    return data;
}

TEST(ChecksumValues, PublishedCheckValuesOf123456789)
{
    const TValues v = ComputeAll(Bytes("123456789"));
    EXPECT_EQ(v.at(TVxChecksum::Crc16Arc), "BB3D");
    EXPECT_EQ(v.at(TVxChecksum::Crc16CcittFalse), "29B1");
    EXPECT_EQ(v.at(TVxChecksum::Crc32), "CBF43926");
    EXPECT_EQ(v.at(TVxChecksum::Crc32C), "E3069283");
    EXPECT_EQ(v.at(TVxChecksum::Adler32), "091E01DE");
    EXPECT_EQ(v.at(TVxChecksum::Md5), "25f9e794323b453885f5181f1b624d0b");
    EXPECT_EQ(v.at(TVxChecksum::Sha1), "f7c3bc1d808e04732adf679965ccc34ca7ae3441");
    EXPECT_EQ(v.at(TVxChecksum::Sha256), "15e2b0d3c33891ebb0f1ef609ec419420c20e320ce94c65fbc8c3312448eb225");
    EXPECT_EQ(v.at(TVxChecksum::Sha512), "d9e6762dd1c8eaf6d61b3c6192fc408d4d6d5f1176d0c29169bc24e71c3f274a"
                                         "d27fcd5811b313d681f7e55ec02d73d499c95455b6b5bb503acf574fba8ffe85");
    EXPECT_EQ(v.at(TVxChecksum::Sha3_256), "87cd084d190e436f147322b90e7384f6a8e0676c99d21ef519ea718e51d45f9c");
}

TEST(ChecksumValues, EmptyDataGivesEachAlgorithmsStartAndTheWidthInDigits)
{
    const TValues v = ComputeAll({});
    EXPECT_EQ(v.at(TVxChecksum::Crc16CcittFalse), "FFFF");
    EXPECT_EQ(v.at(TVxChecksum::Crc32), "00000000");
    EXPECT_EQ(v.at(TVxChecksum::Adler32), "00000001");
    EXPECT_EQ(v.at(TVxChecksum::Sum8), "00");
    EXPECT_EQ(v.at(TVxChecksum::Sum16BE), "0000");
    EXPECT_EQ(v.at(TVxChecksum::Sum32LE), "00000000");
    EXPECT_EQ(v.at(TVxChecksum::Sha256), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(v.at(TVxChecksum::Md5), "d41d8cd98f00b204e9800998ecf8427e");
}

// The padding of a partial word, as the manual explains it with 01 02 03; wrap-around too.
TEST(ChecksumValues, SumsPadAPartialWordWithZerosAfterItAndWrap)
{
    TValues v = ComputeAll({0x01, 0x02, 0x03});
    EXPECT_EQ(v.at(TVxChecksum::Sum8), "06");
    EXPECT_EQ(v.at(TVxChecksum::Sum16LE), "0204"); // 0201 + 0003
    EXPECT_EQ(v.at(TVxChecksum::Sum16BE), "0402"); // 0102 + 0300
    EXPECT_EQ(v.at(TVxChecksum::Sum32LE), "00030201");
    EXPECT_EQ(v.at(TVxChecksum::Sum32BE), "01020300");
    v = ComputeAll({0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0x00, 0x00, 0x00});
    EXPECT_EQ(v.at(TVxChecksum::Sum8), "FE");
    EXPECT_EQ(v.at(TVxChecksum::Sum16LE), "0000");
    EXPECT_EQ(v.at(TVxChecksum::Sum32LE), "00000001");
    EXPECT_EQ(v.at(TVxChecksum::Sum32BE), "01FFFFFF");
}

TEST(ChecksumValues, PiecesOfAnySizeGiveTheValuesOfTheWhole)
{
    const std::vector<uint8_t> data = RandomBytes(300001, 5);
    const TValues whole = ComputeAll(data);
    EXPECT_EQ(ComputeAll(data, {1, 2, 3, 5, 7, 11, 4093}), whole);
    EXPECT_EQ(ComputeAll(data, {65537, 3}), whole);
    // One at a time, as the dialog's single choice is fed.
    for (TVxChecksum k : TVxChecksumKinds::All())
        EXPECT_EQ(Compute({k}, data, {9}).at(k), whole.at(k)) << TVxChecksumKinds::Name(k);
}

TEST(ChecksumKinds, KeysReadBackAndUnknownOnesAreIgnored)
{
    const std::vector<TVxChecksum> all = TVxChecksumKinds::All();
    EXPECT_EQ(TVxChecksumKinds::FromKeys(TVxChecksumKinds::ToKeys(all)), all);
    EXPECT_EQ(TVxChecksumKinds::FromKeys("sha256,nonsense,crc32,,crc32"),
              (std::vector<TVxChecksum>{TVxChecksum::Crc32, TVxChecksum::Sha256}));
    EXPECT_TRUE(TVxChecksumKinds::FromKeys("").empty());
}

#ifndef _WIN32
// Python computes every value of the file's bytes; one "key value" a line. CRC-16 (ARC) and
// CRC-32C have no module of Python's own and are done bit by bit from their definitions.
const char *kPythonReference = R"PY(
import binascii, hashlib, struct, sys, zlib
data = open(sys.argv[1], 'rb').read()
def crc_reflected(data, poly, init, xorout):
    table = []
    for i in range(256):
        c = i
        for _ in range(8):
            c = (c >> 1) ^ poly if c & 1 else c >> 1
        table.append(c)
    c = init
    for b in data:
        c = (c >> 8) ^ table[(c ^ b) & 0xFF]
    return c ^ xorout
def sums(width, order):
    padded = data + bytes(-len(data) % width)
    words = struct.unpack(order + ('H' if width == 2 else 'I') * (len(padded) // width), padded)
    return sum(words) % (1 << (8 * width))
print('crc16-arc %04X' % crc_reflected(data, 0xA001, 0, 0))
print('crc16-ccitt-false %04X' % binascii.crc_hqx(data, 0xFFFF))
print('crc32 %08X' % zlib.crc32(data))
print('crc32c %08X' % crc_reflected(data, 0x82F63B78, 0xFFFFFFFF, 0xFFFFFFFF))
print('adler32 %08X' % zlib.adler32(data))
print('sum8 %02X' % (sum(data) % 256))
print('sum16-le %04X' % sums(2, '<'))
print('sum16-be %04X' % sums(2, '>'))
print('sum32-le %08X' % sums(4, '<'))
print('sum32-be %08X' % sums(4, '>'))
for name, key in (('md5', 'md5'), ('sha1', 'sha1'), ('sha256', 'sha256'), ('sha512', 'sha512'), ('sha3_256', 'sha3-256')):
    print(key, hashlib.new(name, data).hexdigest())
)PY";

// Python's values of the bytes, by key; empty when there is no python3.
std::map<std::string, std::string> PythonValues(const TScratchDir &dir, const std::vector<uint8_t> &data)
{
    WriteText(dir.File("reference.py"), kPythonReference);
    WriteFileBytes(dir.File("data.bin"), data);
    std::map<std::string, std::string> values;
    FILE *out = ::popen(("python3 '" + dir.File("reference.py") + "' '" + dir.File("data.bin") + "' 2>/dev/null").c_str(), "r");
    if (!out)
        return values;
    char key[64], value[160];
    while (std::fscanf(out, "%63s %159s", key, value) == 2)
        values[key] = value;
    ::pclose(out);
    return values;
}

TEST(ChecksumValues, AgreeWithPythonOnRandomDataOfOddLength)
{
    TScratchDir dir;
    for (size_t size : {size_t(1), size_t(7), size_t(262147)}) {
        const std::vector<uint8_t> data = RandomBytes(size, uint32_t(size));
        const std::map<std::string, std::string> python = PythonValues(dir, data);
        if (python.empty())
            GTEST_SKIP() << "no python3";
        const TValues ours = ComputeAll(data, {13, 8192, 1});
        for (TVxChecksum k : TVxChecksumKinds::All())
            EXPECT_EQ(ours.at(k), python.at(TVxChecksumKinds::Key(k))) << TVxChecksumKinds::Name(k) << ", " << size << " bytes";
    }
}
#endif

// A document of random bytes in a scratch file.
struct TDocumentData {
    TScratchDir Dir;
    std::vector<uint8_t> Data;
    TVxDocument Doc;
    explicit TDocumentData(size_t size) : Data(RandomBytes(size, 11))
    {
        WriteFileBytes(Dir.File("doc.bin"), Data);
        Doc.LoadFromFile(Dir.File("doc.bin"));
    }
    TValues Run(int64_t offset, int64_t count, TVxProgress *progress = nullptr)
    {
        TValues values;
        for (const TVxChecksumResult &r : TVxChecksumRunner::Run(Doc, offset, count, TVxChecksumKinds::All(), progress))
            values[r.Kind] = r.Value;
        return values;
    }
    TValues Direct(size_t offset, size_t count)
    {
        return ComputeAll(std::vector<uint8_t>(Data.begin() + ptrdiff_t(offset), Data.begin() + ptrdiff_t(offset + count)));
    }
};

struct TReports : TVxProgress {
    std::vector<int64_t> Done;
    int CancelAt = -1;
    void Report(int64_t done, int64_t total, bool cancellable) override
    {
        EXPECT_TRUE(cancellable);
        Done.push_back(done);
        if (int(Done.size()) == CancelAt)
            throw TVxCancelled();
    }
};

TEST(ChecksumRunner, RangesOfTheDocumentGiveTheValuesOfTheirBytes)
{
    const size_t size = 2 * size_t(TVxChecksumRunner::kBlock) + 12345;
    TDocumentData d(size);
    TReports progress;
    // The whole document over several blocks, with a report after each up to the end.
    EXPECT_EQ(d.Run(0, int64_t(size), &progress), d.Direct(0, size));
    ASSERT_EQ(progress.Done.size(), 3u);
    EXPECT_EQ(progress.Done.back(), int64_t(size));
    // One byte; an odd length from an odd offset (the word sums' partial word); the last byte.
    EXPECT_EQ(d.Run(5, 1), d.Direct(5, 1));
    EXPECT_EQ(d.Run(3, int64_t(TVxChecksumRunner::kBlock) + 1), d.Direct(3, size_t(TVxChecksumRunner::kBlock) + 1));
    EXPECT_EQ(d.Run(int64_t(size) - 1, 1), d.Direct(size - 1, 1));
    EXPECT_THROW(d.Run(int64_t(size) - 1, 2), std::runtime_error);
}

TEST(ChecksumRunner, AnEmptyDocumentGivesTheValuesOfNoData)
{
    TDocumentData d(0);
    TReports progress;
    EXPECT_EQ(d.Run(0, 0, &progress), ComputeAll({}));
    EXPECT_TRUE(progress.Done.empty());
}

TEST(ChecksumRunner, ACancelStopsTheWorkerAndPassesOn)
{
    TDocumentData d(3 * size_t(TVxChecksumRunner::kBlock));
    TReports progress;
    progress.CancelAt = 2;
    EXPECT_THROW(d.Run(0, int64_t(d.Data.size()), &progress), TVxCancelled);
    EXPECT_EQ(progress.Done.size(), 2u);
    // Nothing is left behind: the next run gives the right values.
    EXPECT_EQ(d.Run(0, int64_t(d.Data.size())), d.Direct(0, d.Data.size()));
}
} // namespace
