#pragma once
// Work measured in a process of its own, so that its peak memory is its own alone: nothing
// that earlier rows of the run allocated (Qt, pictures, search buffers) counts. The process
// is hexbench itself started again with a hidden first argument that names the work,
//   hexbench --child NAME ARG...
// or another program of hexbench's beside it (hexbench-print).
//
// A child ends by printing its own peak memory on a last line of its standard output
// (ReportPeak); Run takes that line off the output. The peak is the resident set size on
// POSIX systems and the working set on Windows. The child reports it itself because Wine
// cannot tell the peak of a process that has ended; the figure is the same the parent
// would read.
//
// Implementation: BenchChild.cpp (the registry, the protocol), BenchChild.posix.cpp (fork and
// exec, getrusage), BenchChild.win.cpp (CreateProcessW, GetProcessMemoryInfo).

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TBenchChild {
public:
    // The work of a child: its arguments after the name; returns the exit code. It prints
    // its figures on standard output for the parent to read.
    using TWorkFn = std::function<int(const std::vector<std::string> &args)>;
    static bool Register(const std::string &name, TWorkFn fn);

    // This program's arguments after its own name, as UTF-8 (on Windows read from the wide
    // command line: argv is in the ANSI code page, and temporary paths may hold any name).
    static std::vector<std::string> Arguments(int argc, char **argv);
    // When `args` start with the hidden argument: runs the named work, reports the peak and
    // returns the exit code for main. Otherwise -1.
    static int MainIfChild(const std::vector<std::string> &args);

    struct TResult {
        bool Ok = false;        // started and ended with exit code 0
        std::string Output;     // its standard output, the peak line taken off
        int64_t PeakBytes = -1; // -1 when the child did not say
    };
    // Runs hexbench's registered work `name` in a new process and waits for it.
    static TResult RunSelf(const std::string &name, const std::vector<std::string> &args);
    // Runs `program` with `args`, its standard output read, standard error shared; waits.
    static TResult Run(const std::string &program, const std::vector<std::string> &args);
    // The path of a program in the folder of the running one.
    static std::string Beside(const std::string &fileName);

    // Prints this process's peak memory as the last line of its standard output.
    static void ReportPeak();

private:
    static std::string ProgramPath();
    static int64_t PeakBytes();
    // The raw run: exit code (-1: could not start or did not end normally) and output.
    static int Spawn(const std::string &program, const std::vector<std::string> &args, std::string &output);
};

#define HX_BENCH_CHILD_CAT2(a, b) a##b
#define HX_BENCH_CHILD_CAT(a, b) HX_BENCH_CHILD_CAT2(a, b)
#define HX_BENCH_CHILD(name, fn) \
    static const bool HX_BENCH_CHILD_CAT(hxBenchChild, __LINE__) = TBenchChild::Register(name, fn)
