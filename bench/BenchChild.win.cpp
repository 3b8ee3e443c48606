#include "BenchChild.h"

#include "TWideText.h"

#include <windows.h>
#include <psapi.h>
#include <shellapi.h>

namespace {
// One argument as the C runtime's command-line parser reads it back: quoted when it holds
// spaces or quotes, a backslash doubled only before a quote.
void AppendQuoted(std::wstring &line, const std::wstring &arg)
{
    if (!line.empty())
        line += L' ';
    if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        line += arg;
        return;
    }
    line += L'"';
    for (size_t i = 0;; ++i) {
        size_t slashes = 0;
        while (i < arg.size() && arg[i] == L'\\') {
            ++slashes;
            ++i;
        }
        if (i == arg.size()) {
            line.append(slashes * 2, L'\\');
            break;
        }
        if (arg[i] == L'"')
            line.append(slashes * 2 + 1, L'\\');
        else
            line.append(slashes, L'\\');
        line += arg[i];
    }
    line += L'"';
}

// The child's own copy of a handle of ours, inheritable.
HANDLE Inheritable(HANDLE h)
{
    HANDLE dup = nullptr;
    if (!h || h == INVALID_HANDLE_VALUE ||
        !::DuplicateHandle(::GetCurrentProcess(), h, ::GetCurrentProcess(), &dup, 0, TRUE, DUPLICATE_SAME_ACCESS))
        return nullptr;
    return dup;
}
} // namespace

std::vector<std::string> TBenchChild::Arguments(int, char **)
{
    std::vector<std::string> args;
    int n = 0;
    wchar_t **wide = ::CommandLineToArgvW(::GetCommandLineW(), &n);
    if (!wide)
        return args;
    for (int i = 1; i < n; ++i)
        args.push_back(TWideText::ToUtf8(wide[i], wcslen(wide[i])));
    ::LocalFree(wide);
    return args;
}

std::string TBenchChild::ProgramPath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return TWideText::ToUtf8(path);
        }
        path.resize(path.size() * 2);
    }
}

int64_t TBenchChild::PeakBytes()
{
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    if (!::GetProcessMemoryInfo(::GetCurrentProcess(), &pmc, sizeof pmc))
        return -1;
    return int64_t(pmc.PeakWorkingSetSize);
}

int TBenchChild::Spawn(const std::string &program, const std::vector<std::string> &args, std::string &output)
{
    const std::wstring path = TWideText::ToWide(program);
    std::wstring line;
    AppendQuoted(line, path);
    for (const auto &a : args)
        AppendQuoted(line, TWideText::ToWide(a));

    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return -1;
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = nullptr;
    si.hStdOutput = writeEnd;
    // The parent's standard error may not be inheritable (a pipe of ctest's): a copy that is.
    si.hStdError = Inheritable(::GetStdHandle(STD_ERROR_HANDLE));
    PROCESS_INFORMATION pi{};
    const BOOL started = ::CreateProcessW(path.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                          &si, &pi);
    ::CloseHandle(writeEnd); // the child's copy is the only writer left: end of file when it ends
    if (si.hStdError)
        ::CloseHandle(si.hStdError);
    if (!started) {
        ::CloseHandle(readEnd);
        return -1;
    }
    char buf[4096];
    DWORD got = 0;
    while (::ReadFile(readEnd, buf, sizeof buf, &got, nullptr) && got > 0)
        output.append(buf, got);
    ::CloseHandle(readEnd);
    ::WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = DWORD(-1);
    ::GetExitCodeProcess(pi.hProcess, &code);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return int(code);
}
