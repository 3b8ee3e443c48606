#pragma once
// The physical baselines of the rows, measured by what the running system itself does
// fastest; each call returns the seconds of one run.
//
//   Copy    count bytes of src from `from` into a fresh temporary file (plus a flush to the
//           disk when `sync`): the least any load, save or block move must do.
//           POSIX: copy_file_range through TFileCopy, the kernel's own copy.
//           Windows: ReadFile/WriteFile in large blocks, the plain copy of the system.
//   Find    a search of the whole file for `needle`, absent from it.
//           POSIX: grep -c -F [-i] NEEDLE FILE with LC_ALL=C, grep's fastest setting.
//           Windows has no grep: a Horspool scan (the memmem class of search) over the file
//           read in large blocks, ASCII case folded for ignoreCase as grep -i does in C.
//   Replace every byte `from` of the file replaced by `to`, written to `out`.
//           POSIX: sed 's/FROM/TO/g' FILE > OUT (the texts hold no sed specials).
//           Windows has no sed: the same stream rewrite in large blocks.
//   Differ  the differing bytes of two files listed, offset facing offset.
//           POSIX: cmp -l A B > FILE (into /dev/null GNU cmp would stop at the first).
//           Windows has no cmp: both files read in large blocks and compared in-process.
//   Sum     the file's checksum by the system's own tool (`tool` is sha256sum or md5sum).
//           POSIX: TOOL FILE, coreutils' program. Windows has none: -1 (the row prints no
//           baseline).
//
// Implementation: BenchBaseline.posix.cpp, BenchBaseline.win.cpp.

#include <cstdint>
#include <string>

class TFileHandle;

class TBenchBaseline {
public:
    static double Copy(const TFileHandle &src, int64_t from, int64_t count, bool sync);
    static double Find(const std::string &path, const std::string &needle, bool ignoreCase);
    static double Replace(const std::string &path, char from, const std::string &to, const std::string &out);
    static double Differ(const std::string &pathA, const std::string &pathB);
    static double Sum(const std::string &tool, const std::string &path);
};
