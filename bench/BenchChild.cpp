#include "BenchChild.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <map>

namespace {
const char kChildArgument[] = "--child";
const char kPeakPrefix[] = "peak-bytes ";

std::map<std::string, TBenchChild::TWorkFn> &Works()
{
    static std::map<std::string, TBenchChild::TWorkFn> works;
    return works;
}
} // namespace

bool TBenchChild::Register(const std::string &name, TWorkFn fn)
{
    Works()[name] = std::move(fn);
    return true;
}

int TBenchChild::MainIfChild(const std::vector<std::string> &args)
{
    if (args.empty() || args[0] != kChildArgument)
        return -1;
    const auto work = args.size() > 1 ? Works().find(args[1]) : Works().end();
    if (work == Works().end()) {
        std::fprintf(stderr, "%s: no such work\n", args.size() > 1 ? args[1].c_str() : "");
        return 2;
    }
    int rc = 1;
    try {
        rc = work->second(std::vector<std::string>(args.begin() + 2, args.end()));
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s: %s\n", args[1].c_str(), e.what());
    }
    ReportPeak();
    return rc;
}

TBenchChild::TResult TBenchChild::RunSelf(const std::string &name, const std::vector<std::string> &args)
{
    std::vector<std::string> all{kChildArgument, name};
    all.insert(all.end(), args.begin(), args.end());
    return Run(ProgramPath(), all);
}

TBenchChild::TResult TBenchChild::Run(const std::string &program, const std::vector<std::string> &args)
{
    TResult result;
    std::fflush(nullptr); // nothing buffered twice, nothing out of order
    result.Ok = Spawn(program, args, result.Output) == 0;
    // The peak line is the last one; \r\n where the child's C library writes text that way.
    const size_t at = result.Output.rfind(kPeakPrefix);
    if (at != std::string::npos && (at == 0 || result.Output[at - 1] == '\n')) {
        result.PeakBytes = std::strtoll(result.Output.c_str() + at + sizeof kPeakPrefix - 1, nullptr, 10);
        result.Output.erase(at);
    }
    return result;
}

std::string TBenchChild::Beside(const std::string &fileName)
{
    const std::string self = ProgramPath();
    const size_t slash = self.find_last_of("/\\");
    return slash == std::string::npos ? fileName : self.substr(0, slash + 1) + fileName;
}

void TBenchChild::ReportPeak()
{
    std::printf("%s%lld\n", kPeakPrefix, static_cast<long long>(PeakBytes()));
    std::fflush(stdout);
}
