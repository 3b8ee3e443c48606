#include "TProgramArgs.h"

#include "TWideText.h"

// <windows.h> first: the other system headers build on it.
#include <windows.h>

#include <shellapi.h>

std::vector<std::string> TProgramArgs::Get(int, char **)
{
    std::vector<std::string> out;
    int n = 0;
    LPWSTR *args = ::CommandLineToArgvW(::GetCommandLineW(), &n);
    if (!args)
        return out;
    for (int i = 1; i < n; ++i)
        out.push_back(TWideText::ToUtf8(args[i]));
    ::LocalFree(args);
    return out;
}
