// hexbench: speed of Hexcavator's operations beside the physical lower bound of each,
// measured in the same run on the same files. Usage: hexbench [ROW...] (no row: all).

#include "BenchTable.h"

int main(int argc, char **argv) { return TBenchTable::Main(argc, argv); }
