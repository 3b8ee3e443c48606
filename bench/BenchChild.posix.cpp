#include "BenchChild.h"

#include <cerrno>
#include <climits>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

std::vector<std::string> TBenchChild::Arguments(int argc, char **argv)
{
    return std::vector<std::string>(argv + 1, argv + argc);
}

std::string TBenchChild::ProgramPath()
{
    char path[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    return n > 0 ? std::string(path, size_t(n)) : std::string("/proc/self/exe");
}

int64_t TBenchChild::PeakBytes()
{
    rusage ru{};
    ::getrusage(RUSAGE_SELF, &ru);
    return int64_t(ru.ru_maxrss) * 1024; // KiB on Linux
}

int TBenchChild::Spawn(const std::string &program, const std::vector<std::string> &args, std::string &output)
{
    std::vector<char *> argv;
    std::string name = program;
    argv.push_back(name.data());
    std::vector<std::string> copies(args);
    for (auto &a : copies)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    int out[2];
    if (::pipe(out) != 0)
        return -1;
    // fork, not posix_spawn: a child started inside the parent's memory (vfork) is charged
    // the parent's peak when it execs.
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(out[0]);
        ::close(out[1]);
        return -1;
    }
    if (child == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::close(out[0]);
        ::close(out[1]);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    char buf[4096];
    for (ssize_t n; (n = ::read(out[0], buf, sizeof buf)) != 0;) {
        if (n > 0)
            output.append(buf, size_t(n));
        else if (errno != EINTR)
            break;
    }
    ::close(out[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
