// A patch journal found beside a file when it is opened (TVxPatchJournal::Recover), against
// a real file in a scratch folder and a plain reading of the journal's layout: the file
// changes only when the journal is complete and names it, and then exactly by the journal's
// previous bytes and to its previous size. Both layouts are read: "HXJRNL02" (the size
// before and after the write) and "HXJRNL01" (one size: it only ever patched), which a crash
// of an earlier build may have left. The first input byte says which fields to make right
// before the journal is written, so that the run also reaches journals that pass every
// check: 1 the file's device and inode, 2 its size (the size after the write; the size
// before is kept small), 4 the byte count of the data, 8 the checksum.
#include "FuzzCheck.h"
#include "TDirHandle.h"
#include "TVxPatchJournal.h"

#include <cstring>
#include <filesystem>
#include <optional>
#include <sys/stat.h>

namespace {
constexpr size_t kEntry = 16, kSum = 8;
constexpr int64_t kFileSize = 300;

// Where the fields are: the header's length, the size before the write, the size after it,
// the count of ranges and the byte count of their data.
struct TLayout {
    size_t Header = 0, Size = 24, NewSize = 24, Count = 32, DataBytes = 40;
};

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

std::optional<TLayout> LayoutOf(const std::string &j)
{
    if (j.compare(0, 8, "HXJRNL01") == 0)
        return TLayout{48, 24, 24, 32, 40};
    if (j.compare(0, 8, "HXJRNL02") == 0)
        return TLayout{56, 24, 32, 40, 48};
    return std::nullopt;
}

// Whether the journal is complete (as written whole by a patch), read without the program.
bool Complete(const std::string &j)
{
    const std::optional<TLayout> l = LayoutOf(j);
    if (!l || j.size() < l->Header + kSum)
        return false;
    const uint64_t count = Get(j, l->Count), dataBytes = Get(j, l->DataBytes);
    const auto size = static_cast<int64_t>(Get(j, l->Size));
    if (count > (uint64_t(1) << 24) ||
        static_cast<unsigned __int128>(l->Header + count * kEntry + kSum) + dataBytes != j.size())
        return false;
    uint64_t total = 0;
    for (uint64_t e = 0; e < count; ++e) {
        const auto first = static_cast<int64_t>(Get(j, l->Header + e * kEntry));
        const auto end = static_cast<int64_t>(Get(j, l->Header + e * kEntry + 8));
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
    const std::optional<TLayout> l = LayoutOf(j);
    if (l && j.size() >= l->Header + kSum) {
        if (fix & 1) {
            Put(j, 8, uint64_t(st.st_dev));
            Put(j, 16, uint64_t(st.st_ino));
        }
        if (fix & 2) {
            Put(j, l->Size, Get(j, l->Size) % 1024);
            Put(j, l->NewSize, uint64_t(kFileSize));
        }
        const uint64_t count = Get(j, l->Count);
        if (fix & 4 && count <= (j.size() - l->Header - kSum) / kEntry)
            Put(j, l->DataBytes, j.size() - l->Header - kSum - count * kEntry);
        if (fix & 8)
            Put(j, j.size() - kSum, Checksum(j.substr(0, j.size() - kSum)));
    }
    FuzzWriteFile(journalPath, j);

    const bool complete = Complete(j);
    const auto sizeBefore = complete ? static_cast<int64_t>(Get(j, l->Size)) : 0;
    const bool ours = complete && Get(j, 8) == uint64_t(st.st_dev) && Get(j, 16) == uint64_t(st.st_ino) &&
                      (sizeBefore == kFileSize || static_cast<int64_t>(Get(j, l->NewSize)) == kFileSize);
    // The file would be put back to a size this run cannot hold: no opinion.
    if (ours && sizeBefore > (int64_t(1) << 20)) {
        std::filesystem::remove(journalPath);
        return 0;
    }
    std::string expected = before;
    if (ours) {
        const uint64_t count = Get(j, l->Count);
        size_t src = l->Header + count * kEntry;
        for (uint64_t e = 0; e < count; ++e) {
            const uint64_t first = Get(j, l->Header + e * kEntry), end = Get(j, l->Header + e * kEntry + 8);
            if (end > expected.size())
                expected.resize(end, '\0');
            expected.replace(first, end - first, j, src, end - first);
            src += end - first;
        }
        expected.resize(size_t(sizeBefore), '\0');
    }

    const bool recovered = TVxPatchJournal::Recover(TDirHandle::Open(dir), base);
    FUZZ_CHECK(recovered == ours);
    FUZZ_CHECK(FuzzReadFile(path) == expected);
    // Gone when it was torn or has been applied; left for the file it names otherwise.
    FUZZ_CHECK(std::filesystem::exists(journalPath) == (complete && !ours));
    std::filesystem::remove(journalPath);
    return 0;
}
