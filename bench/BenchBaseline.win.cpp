#include "BenchBaseline.h"

#include "BenchTable.h"

#include "TFileHandle.h"
#include "TTempFile.h"
#include "TWideText.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>
#include <windows.h>

namespace {
// Large enough that the calls cost nothing beside the bytes they move.
constexpr size_t kBlock = size_t(4) << 20;

// What a scan found, kept where the compiler cannot drop the scan as unused.
volatile size_t gFound = 0;

// A file of ours, closed on destruction.
struct THandle {
    HANDLE H;
    explicit THandle(HANDLE h) : H(h) {}
    ~THandle()
    {
        if (H != INVALID_HANDLE_VALUE)
            ::CloseHandle(H);
    }
    THandle(const THandle &) = delete;
    THandle &operator=(const THandle &) = delete;
    bool Ok() const { return H != INVALID_HANDLE_VALUE; }
};

HANDLE OpenRead(const std::string &path)
{
    const HANDLE h = ::CreateFileW(TWideText::ToWide(path).c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        std::fprintf(stderr, "cannot open %s: error %lu\n", path.c_str(), ::GetLastError());
    return h;
}

bool WriteAll(HANDLE h, const uint8_t *p, size_t n)
{
    while (n > 0) {
        DWORD put = 0;
        if (!::WriteFile(h, p, DWORD(n), &put, nullptr) || put == 0)
            return false;
        p += put;
        n -= put;
    }
    return true;
}

// Reads the next block of a file opened for a sequential scan; 0 at the end.
size_t ReadNext(HANDLE h, uint8_t *p, size_t n)
{
    DWORD got = 0;
    return ::ReadFile(h, p, DWORD(n), &got, nullptr) ? got : 0;
}

// Horspool over bytes mapped through `fold` (the identity, or ASCII lower case).
class THorspool {
public:
    THorspool(const std::string &needle, bool ignoreCase) : FNeedle(needle.begin(), needle.end())
    {
        for (int c = 0; c < 256; ++c)
            FFold[c] = uint8_t(ignoreCase && c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
        for (auto &b : FNeedle)
            b = FFold[b];
        for (auto &s : FSkip)
            s = FNeedle.size();
        for (size_t k = 0; k + 1 < FNeedle.size(); ++k)
            FSkip[FNeedle[k]] = FNeedle.size() - 1 - k;
    }
    size_t Length() const { return FNeedle.size(); }
    size_t Count(const uint8_t *hay, size_t n) const
    {
        const size_t m = FNeedle.size();
        size_t count = 0;
        for (size_t i = 0; i + m <= n;) {
            const uint8_t last = FFold[hay[i + m - 1]];
            if (last == FNeedle[m - 1]) {
                size_t k = 0;
                while (k + 1 < m && FFold[hay[i + k]] == FNeedle[k])
                    ++k;
                count += k + 1 == m;
            }
            i += FSkip[last];
        }
        return count;
    }

private:
    std::vector<uint8_t> FNeedle;
    uint8_t FFold[256];
    size_t FSkip[256];
};
} // namespace

double TBenchBaseline::Copy(const TFileHandle &src, int64_t from, int64_t count, bool sync)
{
    // A temporary file may stay in the cache; a flushed one is written as any file is.
    const DWORD flags = (sync ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_TEMPORARY) | FILE_FLAG_DELETE_ON_CLOSE;
    const std::string name = TTempFile::TempDir() + "/hexbench-copy-" + TTempFile::RandomName();
    THandle dst(::CreateFileW(TWideText::ToWide(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, flags, nullptr));
    if (!dst.Ok()) {
        std::fprintf(stderr, "cannot create %s: error %lu\n", name.c_str(), ::GetLastError());
        return 0;
    }
    std::vector<uint8_t> buf(kBlock);
    const double t = TBenchTable::Now();
    for (int64_t done = 0; done < count;) {
        OVERLAPPED at{};
        const uint64_t pos = uint64_t(from + done);
        at.Offset = DWORD(pos);
        at.OffsetHigh = DWORD(pos >> 32);
        DWORD got = 0;
        const DWORD want = DWORD(std::min<int64_t>(count - done, int64_t(kBlock)));
        if (!::ReadFile(src.Fd(), buf.data(), want, &got, &at) || got == 0 || !WriteAll(dst.H, buf.data(), got)) {
            std::fprintf(stderr, "copy baseline: error %lu\n", ::GetLastError());
            return 0;
        }
        done += got;
    }
    if (sync)
        ::FlushFileBuffers(dst.H);
    return TBenchTable::Now() - t;
}

double TBenchBaseline::Find(const std::string &path, const std::string &needle, bool ignoreCase)
{
    const THorspool search(needle, ignoreCase);
    const size_t keep = search.Length() - 1; // a match may straddle two blocks
    std::vector<uint8_t> buf(keep + kBlock);
    const double t = TBenchTable::Now();
    THandle file(OpenRead(path));
    if (!file.Ok())
        return 0;
    size_t found = 0, held = 0;
    for (size_t got; (got = ReadNext(file.H, buf.data() + held, kBlock)) > 0;) {
        found += search.Count(buf.data(), held + got);
        const size_t tail = std::min(keep, held + got);
        std::memmove(buf.data(), buf.data() + held + got - tail, tail);
        held = tail;
    }
    gFound = found;
    return TBenchTable::Now() - t;
}

double TBenchBaseline::Replace(const std::string &path, char from, const std::string &to, const std::string &out)
{
    std::vector<uint8_t> in(kBlock), rewritten;
    rewritten.reserve(kBlock * std::max<size_t>(1, to.size()));
    const double t = TBenchTable::Now();
    THandle src(OpenRead(path));
    THandle dst(::CreateFileW(TWideText::ToWide(out).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!src.Ok() || !dst.Ok())
        return 0;
    for (size_t got; (got = ReadNext(src.H, in.data(), kBlock)) > 0;) {
        rewritten.clear();
        for (size_t i = 0; i < got; ++i) {
            if (in[i] == uint8_t(from))
                rewritten.insert(rewritten.end(), to.begin(), to.end());
            else
                rewritten.push_back(in[i]);
        }
        if (!WriteAll(dst.H, rewritten.data(), rewritten.size())) {
            std::fprintf(stderr, "replace baseline: error %lu\n", ::GetLastError());
            return 0;
        }
    }
    return TBenchTable::Now() - t;
}

double TBenchBaseline::Differ(const std::string &pathA, const std::string &pathB)
{
    std::vector<uint8_t> a(kBlock), b(kBlock);
    const double t = TBenchTable::Now();
    THandle fa(OpenRead(pathA)), fb(OpenRead(pathB));
    if (!fa.Ok() || !fb.Ok())
        return 0;
    size_t differing = 0;
    for (;;) {
        const size_t na = ReadNext(fa.H, a.data(), kBlock), nb = ReadNext(fb.H, b.data(), kBlock);
        const size_t n = std::min(na, nb);
        for (size_t i = 0; i < n; i += 4096) {
            const size_t len = std::min<size_t>(4096, n - i);
            if (std::memcmp(a.data() + i, b.data() + i, len) != 0)
                for (size_t k = i; k < i + len; ++k)
                    differing += a[k] != b[k];
        }
        if (na != kBlock || nb != kBlock)
            break;
    }
    gFound = differing;
    return TBenchTable::Now() - t;
}

double TBenchBaseline::Sum(const std::string &, const std::string &) { return -1; }
