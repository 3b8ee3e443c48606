#pragma once
// hexbench's table: one tab-separated row per operation,
//   name  size  ours-seconds  baseline-seconds  ratio
// where the baseline is the physical lower bound measured in the same run on the same data
// ("-" where there is none). Rows register themselves by name; arguments pick rows to run.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TBenchTable {
public:
    using TRowFn = std::function<void()>;

    // Registers a row (or a group of rows printed by one function) under `name`.
    static bool Register(const std::string &name, TRowFn fn);
    static int Main(int argc, char **argv);

    static void Print(const std::string &name, int64_t size, double ours, double baseline);
    static void PrintValue(const std::string &name, int64_t size); // a measured quantity, no timing
    static void PrintNoBaseline(const std::string &name, int64_t size, double ours);

    static double Now();
    // Best of `reps` runs of fn, in seconds.
    static double Best(int reps, const std::function<void()> &fn);
    // A file of `size` pseudo-random bytes in the temporary folder, deleted on destruction.
    class TDataFile {
    public:
        explicit TDataFile(int64_t size, uint32_t seed = 1);
        ~TDataFile();
        const std::string &Path() const { return FPath; }
        int64_t Size() const { return FSize; }

    private:
        std::string FPath;
        int64_t FSize;
    };
};

#define HX_BENCH_CAT2(a, b) a##b
#define HX_BENCH_CAT(a, b) HX_BENCH_CAT2(a, b)
#define HX_BENCH_ROW(name, fn) static const bool HX_BENCH_CAT(hxBenchRow, __LINE__) = TBenchTable::Register(name, fn)
