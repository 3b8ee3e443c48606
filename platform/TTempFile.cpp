#include "TTempFile.h"

#include "TFilePaths.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <system_error>
#include <unistd.h>

namespace {
std::string Trim(const std::string &s)
{
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos)
        return std::string();
    size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}
} // namespace

std::string TTempFile::TempDir()
{
    const char *env = std::getenv("TMPDIR");
    std::string dir = Trim(env ? env : "");
    if (dir.empty())
        dir = "/tmp";
    while (dir.size() > 1 && dir.back() == '/')
        dir.pop_back();
    return dir;
}

uint32_t TTempFile::TickCount()
{
    timespec ts;
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint32_t>(static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u);
}

std::string TTempFile::MakeTempFileName(const std::string &dir)
{
    std::string base = dir.empty() ? TempDir() : dir;
    if (base.back() != '/')
        base += '/';
    for (;;) {
        char name[16];
        std::snprintf(name, sizeof name, "%08X.tmp", TickCount());
        std::string path = base + name;
        if (!TFilePaths::Exists(path))
            return path;
        // The name is taken within this tick; the next tick gives the next name.
        timespec pause{0, 200 * 1000};
        ::nanosleep(&pause, nullptr);
    }
}

TFileHandle TTempFile::CreateTempFile(const std::string &name)
{
    return TFileHandle::CreateNew(name, 0600);
}

TTempFile TTempFile::Create(const std::string &dir)
{
    for (;;) {
        std::string name = MakeTempFileName(dir);
        try {
            TTempFile t;
            t.FHandle = CreateTempFile(name);
            return t;
        } catch (const std::system_error &e) {
            // Someone took the name between the test and the create: try the next one.
            if (e.code().value() != EEXIST)
                throw;
        }
    }
}

TTempFile::~TTempFile()
{
    if (!FKeep)
        Remove();
}

TTempFile::TTempFile(TTempFile &&other) noexcept : FHandle(std::move(other.FHandle)), FKeep(other.FKeep)
{
    other.FKeep = true;
}

TTempFile &TTempFile::operator=(TTempFile &&other) noexcept
{
    if (this != &other) {
        if (!FKeep)
            Remove();
        FHandle = std::move(other.FHandle);
        FKeep = other.FKeep;
        other.FKeep = true;
    }
    return *this;
}

void TTempFile::Remove()
{
    if (FHandle.IsOpen()) {
        std::string path = FHandle.Path();
        FHandle.Close();
        ::unlink(path.c_str());
    }
}
