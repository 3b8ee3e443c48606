#include "TProgramArgs.h"

std::vector<std::string> TProgramArgs::Get(int argc, char **argv)
{
    std::vector<std::string> out;
    for (int i = 1; i < argc; ++i)
        out.emplace_back(argv[i]);
    return out;
}
