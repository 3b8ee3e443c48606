#include "BenchBaseline.h"

#include "BenchTable.h"

#include "TFileCopy.h"
#include "TTempFile.h"

#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

namespace {
// Seconds one run of the tool takes, its output sent to `out`.
double RunTool(std::vector<std::string> args, const std::string &out = "/dev/null")
{
    std::vector<char *> argv;
    for (auto &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> envStore{"LC_ALL=C", "PATH=/usr/bin:/bin"};
    std::vector<char *> envp{envStore[0].data(), envStore[1].data(), nullptr};
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    double t = TBenchTable::Now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], &fa, nullptr, argv.data(), envp.data()) != 0) {
        std::fprintf(stderr, "cannot start %s\n", argv[0]);
        posix_spawn_file_actions_destroy(&fa);
        return 0;
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    t = TBenchTable::Now() - t;
    posix_spawn_file_actions_destroy(&fa);
    return t;
}
} // namespace

double TBenchBaseline::Copy(const TFileHandle &src, int64_t from, int64_t count, bool sync)
{
    TTempFile dst = TTempFile::Create();
    double t = TBenchTable::Now();
    TFileCopy::Copy(src, from, dst.Handle(), 0, count);
    if (sync)
        dst.Handle().Sync();
    return TBenchTable::Now() - t;
}

double TBenchBaseline::Find(const std::string &path, const std::string &needle, bool ignoreCase)
{
    std::vector<std::string> args{"grep", "-c", "-F"};
    if (ignoreCase)
        args.push_back("-i");
    args.push_back(needle);
    args.push_back(path);
    return RunTool(args);
}

double TBenchBaseline::Replace(const std::string &path, char from, const std::string &to, const std::string &out)
{
    return RunTool({"sed", "s/" + std::string(1, from) + "/" + to + "/g", path}, out);
}

double TBenchBaseline::Differ(const std::string &pathA, const std::string &pathB)
{
    // Into a file: GNU cmp stops at the first difference when its output is /dev/null.
    const std::string out = TTempFile::TempDir() + "/hexbench-cmp.out";
    const double t = RunTool({"cmp", "-l", pathA, pathB}, out);
    TBenchTable::Remove(out);
    return t;
}

double TBenchBaseline::Sum(const std::string &tool, const std::string &path) { return RunTool({tool, path}); }
