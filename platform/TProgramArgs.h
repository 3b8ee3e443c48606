#pragma once
// The program's arguments as the user gave them, in UTF-8, without the program's own name.
//
// POSIX: argv as it stands (file names are bytes; the program's paths are UTF-8 strings).
// Windows: main's argv is in the ANSI code page, where a Japanese file name arrives as "???",
// so the wide command line is split instead (GetCommandLineW, CommandLineToArgvW: the rules
// of the C runtime and Explorer's "%1" quoting). argc and argv are not used there.

#include <string>
#include <vector>

class TProgramArgs {
public:
    static std::vector<std::string> Get(int argc, char **argv);
};
