#pragma once
// hexbench's table: one tab-separated row per operation,
//   name  size  ours-seconds  baseline-seconds  ratio
// where the baseline is the physical lower bound measured in the same run on the same data
// ("-" where there is none). Rows register themselves by name; arguments pick rows to run.
//
// HEXBENCH_SIZE_MB=N runs the rows over document data (load, save, the block edits, typing,
// peak memory, delete-all, the patch saves, the search, compare and checksum rows) on N MiB instead of their usual
// sizes: Wine, and a quick look in CI, need not copy gigabytes. The size column says which.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TBenchTable {
public:
    using TRowFn = std::function<void()>;

    // Registers a row (or a group of rows printed by one function) under `name`.
    static bool Register(const std::string &name, TRowFn fn);
    // Runs the rows named in `args` (all without any). Non-zero when a row printed nothing:
    // a row that cannot measure says why on stderr and leaves its line out.
    static int Main(const std::vector<std::string> &args);

    static void Print(const std::string &name, int64_t size, double ours, double baseline);
    static void PrintValue(const std::string &name, int64_t size); // a measured quantity, no timing
    static void PrintNoBaseline(const std::string &name, int64_t size, double ours);

    // The sizes a row runs on: `usual`, or the one size HEXBENCH_SIZE_MB asks for.
    static std::vector<int64_t> Sizes(const std::vector<int64_t> &usual);
    static int64_t Size(int64_t usual) { return Sizes({usual}).back(); }

    static double Now();
    // Best of `reps` runs of fn, in seconds.
    static double Best(int reps, const std::function<void()> &fn);
    // Deletes a file the benchmark made; a missing one is no error.
    static void Remove(const std::string &path);

    // A file of `size` pseudo-random bytes in the temporary folder, deleted on destruction.
    class TDataFile {
    public:
        // Writes the file's bytes in order, a block of `count` bytes (1 MiB but the last) a call.
        using TFill = std::function<void(uint8_t *block, size_t count)>;

        explicit TDataFile(int64_t size, uint32_t seed = 1);
        // A file of `size` bytes that `fill` gives (a text, say) instead.
        TDataFile(int64_t size, const TFill &fill);
        // The pseudo-random bytes of the first constructor.
        static TFill RandomFill(uint32_t seed);
        ~TDataFile();
        const std::string &Path() const { return FPath; }
        int64_t Size() const { return FSize; }

    private:
        std::string FPath;
        int64_t FSize;
    };
    // A new folder of its own in the temporary folder (settings of a run, say), deleted with
    // everything in it on destruction. Path() is empty when it could not be made.
    class TDataDir {
    public:
        explicit TDataDir(const std::string &label);
        ~TDataDir();
        TDataDir(const TDataDir &) = delete;
        TDataDir &operator=(const TDataDir &) = delete;
        const std::string &Path() const { return FPath; }

    private:
        std::string FPath;
    };
};

#define HX_BENCH_CAT2(a, b) a##b
#define HX_BENCH_CAT(a, b) HX_BENCH_CAT2(a, b)
#define HX_BENCH_ROW(name, fn) static const bool HX_BENCH_CAT(hxBenchRow, __LINE__) = TBenchTable::Register(name, fn)
