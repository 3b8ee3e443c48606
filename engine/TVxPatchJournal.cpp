#include "TVxPatchJournal.h"

#include "TDirHandle.h"
#include "TFileHandle.h"
#include "TFileIdentity.h"
#include "TVxError.h"
#include "TVxWorkCopy.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <system_error>
#include <vector>

namespace {
constexpr char kMagic[8] = {'H', 'X', 'J', 'R', 'N', 'L', '0', '2'};
constexpr char kMagicV1[8] = {'H', 'X', 'J', 'R', 'N', 'L', '0', '1'};
constexpr size_t kBuffer = 1 << 20;

struct THeader {
    char Magic[8];
    uint64_t Dev;
    uint64_t Ino;
    int64_t Size;    // before the write, and again after a rollback
    int64_t NewSize; // what the write makes of it
    uint64_t Count;
    uint64_t DataBytes;
};

struct THeaderV1 {
    char Magic[8];
    uint64_t Dev;
    uint64_t Ino;
    int64_t Size;
    uint64_t Count;
    uint64_t DataBytes;
};

struct TEntry {
    int64_t First;
    int64_t End;
};

// A 64-bit running checksum, eight bytes a step, the same however the bytes are split into
// calls: it only has to tell a complete journal from a torn one.
class TChecksum {
public:
    void Add(const void *p, size_t n)
    {
        const auto *b = static_cast<const uint8_t *>(p);
        while (n > 0 && FPending > 0) {
            Byte(*b++);
            --n;
        }
        size_t i = 0;
        for (; i + 8 <= n; i += 8) {
            uint64_t w;
            std::memcpy(&w, b + i, 8);
            Word(w);
        }
        for (; i < n; ++i)
            Byte(b[i]);
    }
    uint64_t Value() const
    {
        uint64_t h = FHash;
        for (size_t i = 0; i < FPending; ++i)
            h = (h ^ FWord[i]) * 0x100000001b3ULL;
        return h;
    }

private:
    void Word(uint64_t w)
    {
        FHash = (FHash ^ w) * 0x100000001b3ULL;
        FHash ^= FHash >> 29;
    }
    void Byte(uint8_t b)
    {
        FWord[FPending++] = b;
        if (FPending == 8) {
            uint64_t w;
            std::memcpy(&w, FWord, 8);
            Word(w);
            FPending = 0;
        }
    }

    uint64_t FHash = 0xcbf29ce484222325ULL;
    uint8_t FWord[8] = {};
    size_t FPending = 0;
};

// Sequential writes into the journal, checksummed on the way.
class TJournalWriter {
public:
    explicit TJournalWriter(TFileHandle &f) : FFile(f) {}
    void Put(const void *p, size_t n)
    {
        FSum.Add(p, n);
        FFile.WriteAt(FPos, p, n);
        FPos += static_cast<int64_t>(n);
    }
    void Finish()
    {
        const uint64_t sum = FSum.Value();
        FFile.WriteAt(FPos, &sum, sizeof sum);
        FFile.SetLength(FPos + int64_t(sizeof sum));
    }

private:
    TFileHandle &FFile;
    TChecksum FSum;
    int64_t FPos = 0;
};

// A complete journal read back: header, ranges, and where the previous bytes start.
struct TJournal {
    THeader Header{};
    std::vector<TEntry> Entries;
    int64_t DataPos = 0;
};

bool ReadJournal(const TFileHandle &j, TJournal &out)
{
    const int64_t len = j.Length();
    if (len < int64_t(sizeof(THeaderV1) + sizeof(uint64_t)))
        return false;
    TChecksum sum;
    // A journal left by a crash of the build before the overwrite (its header has no new size:
    // it only ever patched, which keeps the size) is still put back.
    char magic[8];
    j.ReadExact(0, magic, sizeof magic);
    size_t headerSize = sizeof(THeader);
    if (std::memcmp(magic, kMagicV1, sizeof magic) == 0) {
        THeaderV1 v1{};
        j.ReadExact(0, &v1, sizeof v1);
        sum.Add(&v1, sizeof v1);
        std::memcpy(out.Header.Magic, kMagic, sizeof kMagic);
        out.Header.Dev = v1.Dev;
        out.Header.Ino = v1.Ino;
        out.Header.Size = out.Header.NewSize = v1.Size;
        out.Header.Count = v1.Count;
        out.Header.DataBytes = v1.DataBytes;
        headerSize = sizeof v1;
    } else {
        if (len < int64_t(sizeof(THeader) + sizeof(uint64_t)))
            return false;
        j.ReadExact(0, &out.Header, sizeof out.Header);
        sum.Add(&out.Header, sizeof out.Header);
    }
    const THeader &h = out.Header;
    if (std::memcmp(h.Magic, kMagic, sizeof kMagic) != 0 || h.Count > (uint64_t(1) << 24) ||
        int64_t(headerSize + h.Count * sizeof(TEntry) + h.DataBytes + sizeof(uint64_t)) != len)
        return false;
    out.Entries.resize(h.Count);
    if (h.Count > 0)
        j.ReadExact(int64_t(headerSize), out.Entries.data(), h.Count * sizeof(TEntry));
    sum.Add(out.Entries.data(), h.Count * sizeof(TEntry));
    uint64_t total = 0;
    for (const TEntry &e : out.Entries) {
        if (e.First < 0 || e.End < e.First || e.End > h.Size)
            return false;
        total += uint64_t(e.End - e.First);
    }
    if (total != h.DataBytes)
        return false;
    out.DataPos = int64_t(headerSize + h.Count * sizeof(TEntry));
    std::vector<uint8_t> buf(kBuffer);
    for (int64_t pos = out.DataPos, end = out.DataPos + int64_t(h.DataBytes); pos < end;) {
        const size_t n = static_cast<size_t>(std::min<int64_t>(int64_t(kBuffer), end - pos));
        j.ReadExact(pos, buf.data(), n);
        sum.Add(buf.data(), n);
        pos += int64_t(n);
    }
    uint64_t stored = 0;
    j.ReadExact(len - int64_t(sizeof stored), &stored, sizeof stored);
    return stored == sum.Value();
}

// Copies the journal's previous bytes back into the file, gives it its previous length and
// flushes it.
void PutBack(const TFileHandle &j, const TJournal &journal, TFileHandle &file)
{
    std::vector<uint8_t> buf(kBuffer);
    int64_t src = journal.DataPos;
    for (const TEntry &e : journal.Entries) {
        for (int64_t at = e.First; at < e.End;) {
            const size_t n = static_cast<size_t>(std::min<int64_t>(int64_t(kBuffer), e.End - at));
            j.ReadExact(src, buf.data(), n);
            file.WriteAt(at, buf.data(), n);
            at += int64_t(n);
            src += int64_t(n);
        }
    }
    if (file.Length() != journal.Header.Size)
        file.SetLength(journal.Header.Size);
    file.Sync();
}

// The journal's header and ranges for a patch of the file `id` names.
THeader HeaderFor(const TFileIdentity &id, int64_t newSize, const TVxPatchJournal::TRanges &ranges,
                  std::vector<TEntry> &entries)
{
    THeader h{};
    std::memcpy(h.Magic, kMagic, sizeof kMagic);
    h.Dev = id.Dev;
    h.Ino = id.Ino;
    h.Size = id.Size;
    h.NewSize = newSize;
    h.Count = ranges.size();
    entries.reserve(ranges.size());
    for (const auto &r : ranges) {
        entries.push_back(TEntry{r.first, r.second});
        h.DataBytes += uint64_t(r.second - r.first);
    }
    return h;
}

// The file's present bytes of the ranges, in order, into the journal.
void PutPrevious(const TFileHandle &file, const std::vector<TEntry> &entries, TJournalWriter &w)
{
    std::vector<uint8_t> buf(kBuffer);
    for (const TEntry &e : entries) {
        for (int64_t at = e.First; at < e.End;) {
            const size_t n = static_cast<size_t>(std::min<int64_t>(int64_t(kBuffer), e.End - at));
            file.ReadExact(at, buf.data(), n);
            w.Put(buf.data(), n);
            at += int64_t(n);
        }
    }
}
} // namespace

bool TVxPatchJournal::WriteJournal(const TDirHandle &dir, const std::string &name, const TFileHandle &file,
                                   const TRanges &ranges, int64_t newSize)
{
    const TFileIdentity id = TFileIdentity::Of(file);
    TFileHandle j = dir.OpenAt(name, TDirHandle::TAccess::Replace);
    if (!j.IsOpen())
        return false;
    try {
        std::vector<TEntry> entries;
        const THeader h = HeaderFor(id, newSize, ranges, entries);
        TJournalWriter w(j);
        w.Put(&h, sizeof h);
        w.Put(entries.data(), entries.size() * sizeof(TEntry));
        PutPrevious(file, entries, w);
        w.Finish();
        j.Sync();
        dir.Sync();
    } catch (const std::exception &) {
        j.Close();
        dir.UnlinkAt(name);
        return false;
    }
    return true;
}

void TVxPatchJournal::UndoFromJournal(const TDirHandle &dir, const std::string &name, TFileHandle &file,
                                      const std::exception &failure)
{
    try {
        TFileHandle j = dir.OpenAt(name, TDirHandle::TAccess::Read);
        if (!j.IsOpen())
            throw std::system_error(errno, std::generic_category(), dir.PathOf(name));
        TJournal journal;
        if (!ReadJournal(j, journal))
            throw std::system_error(EIO, std::generic_category(), dir.PathOf(name));
        PutBack(j, journal, file);
    } catch (const std::exception &) {
        throw TVxError(TVxErrorKind::PatchNotRolledBack, file.Path(), failure.what());
    }
    dir.UnlinkAt(name);
    dir.Sync();
}

std::string TVxPatchJournal::NameFor(const std::string &baseName) { return "." + baseName + ".hxjournal"; }

bool TVxPatchJournal::Journaled(const TDirHandle &dir, const std::string &baseName, TFileHandle &file,
                                const TRanges &ranges, int64_t newSize, const std::function<void()> &write)
{
    const std::string name = NameFor(baseName);
    // Step 1: the journal, complete and on disk before the file changes.
    if (!WriteJournal(dir, name, file, ranges, newSize))
        return false;
    // Step 2: the new bytes.
    try {
        write();
    } catch (const std::exception &e) {
        UndoFromJournal(dir, name, file, e);
        throw;
    }
    // Step 3: done; the journal is no longer needed. One that stays would take the file back
    // at the next load: emptied, it reads as torn and is dropped there instead.
    if (!dir.UnlinkAt(name)) {
        try {
            TFileHandle j = dir.OpenAt(name, TDirHandle::TAccess::ReadWrite);
            if (j.IsOpen()) {
                j.SetLength(0);
                j.Sync();
            }
        } catch (const std::system_error &) {
            // The file is written; a journal that cannot even be emptied is all that is left.
        }
    }
    dir.Sync();
    return true;
}

bool TVxPatchJournal::Patch(const TDirHandle &dir, const std::string &baseName, TFileHandle &file,
                            const TVxWorkCopy &work, const TRanges &ranges)
{
    return Journaled(dir, baseName, file, ranges, work.FileSize(), [&] {
        for (const auto &r : ranges)
            work.CopyRangeTo(r.first, r.second - r.first, file, r.first);
        file.Sync();
    });
}

bool TVxPatchJournal::Overwrite(const TDirHandle &dir, const std::string &baseName, TFileHandle &file,
                                const TVxWorkCopy &work)
{
    const int64_t oldSize = file.Length();
    const int64_t newSize = work.FileSize();
    if (oldSize > std::numeric_limits<int32_t>::max())
        return false;
    const TRanges all = {{0, static_cast<int32_t>(oldSize)}};
    return Journaled(dir, baseName, file, oldSize > 0 ? all : TRanges(), newSize, [&] {
        // A full disk fails here, before any byte changed; the file has its new length from
        // here on, which Recover expects.
        if (newSize > oldSize) {
            file.Reserve(oldSize, newSize - oldSize);
            file.SetLength(newSize);
        }
        work.CopyTo(file);
        if (newSize < oldSize)
            file.SetLength(newSize);
        file.Sync();
    });
}

bool TVxPatchJournal::Recover(const TDirHandle &dir, const std::string &baseName)
{
    const std::string name = NameFor(baseName);
    TFileHandle j = dir.OpenAt(name, TDirHandle::TAccess::Read);
    if (!j.IsOpen())
        return false;
    TJournal journal;
    bool complete = false;
    try {
        complete = ReadJournal(j, journal);
    } catch (const std::system_error &) {
        complete = false;
    }
    if (!complete) {
        // Torn while it was being written: the file itself was never touched.
        j.Close();
        dir.UnlinkAt(name);
        return false;
    }
    const TFileIdentity now = TFileIdentity::OfEntry(dir, baseName);
    if (!now.Exists || now.IsLink || now.Dev != journal.Header.Dev || now.Ino != journal.Header.Ino ||
        (now.Size != journal.Header.Size && now.Size != journal.Header.NewSize))
        return false; // another file by now: not ours to change
    TFileHandle file = dir.OpenAt(baseName, TDirHandle::TAccess::ReadWrite);
    if (!file.IsOpen())
        throw TVxError(TVxErrorKind::JournalNotApplied, dir.PathOf(baseName), std::strerror(errno));
    PutBack(j, journal, file);
    j.Close();
    dir.UnlinkAt(name);
    dir.Sync();
    return true;
}
