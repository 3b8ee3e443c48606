// Which digest library the program uses: the system's (TDigest: OpenSSL on Linux, CNG on
// Windows) against Qt's QCryptographicHash, each over the same 1 GiB in memory, best of three:
//   digest-md5-vs-qt, digest-sha1-vs-qt, digest-sha256-vs-qt, digest-sha512-vs-qt,
//   digest-sha3-256-vs-qt      ours: TDigest   baseline: QCryptographicHash
// A ratio below 1 means the system's library is the faster. HEXBENCH_SIZE_MB=N: N MiB.

#include "BenchTable.h"

#include "TDigest.h"

#include <QCryptographicHash>

#include <vector>

namespace {
constexpr int64_t kMiB = 1 << 20;

const std::vector<uint8_t> &Data()
{
    static const std::vector<uint8_t> data = [] {
        std::vector<uint8_t> d(size_t(TBenchTable::Size(1024 * kMiB)));
        TBenchTable::TDataFile::RandomFill(43)(d.data(), d.size());
        return d;
    }();
    return data;
}

void Row(const std::string &name, TDigest::TAlgorithm ours, QCryptographicHash::Algorithm qt)
{
    const std::vector<uint8_t> &d = Data();
    const double t = TBenchTable::Best(3, [&] {
        TDigest digest(ours);
        digest.Update(d.data(), d.size());
        digest.Final();
    });
    const double base = TBenchTable::Best(3, [&] {
        QCryptographicHash::hash(QByteArrayView(reinterpret_cast<const char *>(d.data()), qsizetype(d.size())), qt);
    });
    TBenchTable::Print(name, int64_t(d.size()), t, base);
}
} // namespace

HX_BENCH_ROW("digest-md5-vs-qt", [] { Row("digest-md5-vs-qt", TDigest::TAlgorithm::Md5, QCryptographicHash::Md5); });
HX_BENCH_ROW("digest-sha1-vs-qt", [] { Row("digest-sha1-vs-qt", TDigest::TAlgorithm::Sha1, QCryptographicHash::Sha1); });
HX_BENCH_ROW("digest-sha256-vs-qt", [] { Row("digest-sha256-vs-qt", TDigest::TAlgorithm::Sha256, QCryptographicHash::Sha256); });
HX_BENCH_ROW("digest-sha512-vs-qt", [] { Row("digest-sha512-vs-qt", TDigest::TAlgorithm::Sha512, QCryptographicHash::Sha512); });
HX_BENCH_ROW("digest-sha3-256-vs-qt", [] { Row("digest-sha3-256-vs-qt", TDigest::TAlgorithm::Sha3_256, QCryptographicHash::Sha3_256); });
