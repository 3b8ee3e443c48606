#pragma once
// What the fuzz targets share: a check that stops the run with the broken promise (libFuzzer
// then saves the input), and one private scratch folder per process for the readers of files.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

#define FUZZ_CHECK(cond)                                                                           \
    do {                                                                                           \
        if (!(cond)) {                                                                             \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond);          \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

// A folder of its own under $TMPDIR (or /tmp), made on first use and removed at exit.
inline const std::string &FuzzScratch()
{
    struct TScratch {
        std::string Path;
        TScratch()
        {
            const char *tmp = std::getenv("TMPDIR");
            std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/hxfuzz-XXXXXX";
            if (!::mkdtemp(pattern.data()))
                std::abort();
            Path = pattern;
        }
        ~TScratch()
        {
            std::error_code ec;
            std::filesystem::remove_all(Path, ec);
        }
    };
    static TScratch scratch;
    return scratch.Path;
}

inline void FuzzWriteFile(const std::string &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    FUZZ_CHECK(out.good());
}

inline std::string FuzzReadFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
