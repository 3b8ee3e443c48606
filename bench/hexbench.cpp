// hexbench: speed of Hexcavator's operations beside the physical lower bound of each,
// measured in the same run on the same files. Usage: hexbench [ROW...] (no row: all).
// HEXBENCH_SIZE_MB=N: the rows over document data run on N MiB (BenchTable.h).
// "hexbench --child NAME ..." is hexbench's own start of a measured child (BenchChild.h).

#include "BenchChild.h"
#include "BenchTable.h"

int main(int argc, char **argv)
{
    const std::vector<std::string> args = TBenchChild::Arguments(argc, argv);
    const int child = TBenchChild::MainIfChild(args);
    return child >= 0 ? child : TBenchTable::Main(args);
}
