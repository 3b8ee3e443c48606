// A patch journal found beside a file when it is opened (TVxPatchJournal::Recover), against
// a real file in a scratch folder and a plain reading of the journal's layout: the file
// changes only when the journal is complete and names it, and then exactly by the journal's
// previous bytes. The first input byte says which fields to make right before the journal
// is written, so that the run also reaches journals that pass every check: 1 the file's
// device and inode, 2 its size, 4 the byte count of the data, 8 the checksum.
#include "FuzzCheck.h"
#include "TDirHandle.h"
#include "TVxPatchJournal.h"

#include <cstring>
#include <filesystem>
#include <sys/stat.h>

namespace {
constexpr size_t kHeader = 48, kEntry = 16, kSum = 8;
constexpr int64_t kFileSize = 300;

uint64_t Get(const std::string &j, size_t at)
{
    uint64_t v;
    std::memcpy(&v, j.data() + at, 8);
    return v;
}
void Put(std::string &j, size_t at, uint64_t v) { std::memcpy(j.data() + at, &v, 8); }

// The journal's checksum: eight bytes a step, the bytes of a last short word one by one.
uint64_t Checksum(const std::string &bytes)
{
    constexpr uint64_t kPrime = 0x100000001b3ULL;
    uint64_t h = 0xcbf29ce484222325ULL;
    size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        h = (h ^ Get(bytes, i)) * kPrime;
        h ^= h >> 29;
    }
    for (; i < bytes.size(); ++i)
        h = (h ^ static_cast<uint8_t>(bytes[i])) * kPrime;
    return h;
}

// Whether the journal is complete (as written whole by a patch), read without the program.
bool Complete(const std::string &j)
{
    if (j.size() < kHeader + kSum || j.compare(0, 8, "HXJRNL01") != 0)
        return false;
    const uint64_t count = Get(j, 32), dataBytes = Get(j, 40);
    const auto size = static_cast<int64_t>(Get(j, 24));
    if (count > (uint64_t(1) << 24) ||
        static_cast<unsigned __int128>(kHeader + count * kEntry + kSum) + dataBytes != j.size())
        return false;
    uint64_t total = 0;
    for (uint64_t e = 0; e < count; ++e) {
        const auto first = static_cast<int64_t>(Get(j, kHeader + e * kEntry));
        const auto end = static_cast<int64_t>(Get(j, kHeader + e * kEntry + 8));
        if (first < 0 || end < first || end > size)
            return false;
        total += uint64_t(end - first);
    }
    return total == dataBytes && Checksum(j.substr(0, j.size() - kSum)) == Get(j, j.size() - kSum);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const std::string dir = FuzzScratch(), base = "doc.bin";
    const std::string path = dir + "/" + base, journalPath = dir + "/" + TVxPatchJournal::NameFor(base);
    std::string before(kFileSize, '\0');
    for (int64_t i = 0; i < kFileSize; ++i)
        before[size_t(i)] = static_cast<char>(i * 7 + 3);
    FuzzWriteFile(path, before);
    struct stat st {};
    FUZZ_CHECK(::stat(path.c_str(), &st) == 0);

    const uint8_t fix = data[0];
    std::string j(reinterpret_cast<const char *>(data) + 1, size - 1);
    if (j.size() >= kHeader + kSum) {
        if (fix & 1) {
            Put(j, 8, uint64_t(st.st_dev));
            Put(j, 16, uint64_t(st.st_ino));
        }
        if (fix & 2)
            Put(j, 24, uint64_t(kFileSize));
        const uint64_t count = Get(j, 32);
        if (fix & 4 && count <= (j.size() - kHeader - kSum) / kEntry)
            Put(j, 40, j.size() - kHeader - kSum - count * kEntry);
        if (fix & 8)
            Put(j, j.size() - kSum, Checksum(j.substr(0, j.size() - kSum)));
    }
    FuzzWriteFile(journalPath, j);

    const bool complete = Complete(j);
    const bool ours = complete && Get(j, 8) == uint64_t(st.st_dev) && Get(j, 16) == uint64_t(st.st_ino) &&
                      static_cast<int64_t>(Get(j, 24)) == kFileSize;
    std::string expected = before;
    if (ours) {
        size_t src = kHeader + Get(j, 32) * kEntry;
        for (uint64_t e = 0; e < Get(j, 32); ++e) {
            const uint64_t first = Get(j, kHeader + e * kEntry), end = Get(j, kHeader + e * kEntry + 8);
            expected.replace(first, end - first, j, src, end - first);
            src += end - first;
        }
    }

    const bool recovered = TVxPatchJournal::Recover(TDirHandle::Open(dir), base);
    FUZZ_CHECK(recovered == ours);
    FUZZ_CHECK(FuzzReadFile(path) == expected);
    // Gone when it was torn or has been applied; left for the file it names otherwise.
    FUZZ_CHECK(std::filesystem::exists(journalPath) == (complete && !ours));
    std::filesystem::remove(journalPath);
    return 0;
}
