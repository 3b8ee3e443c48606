#pragma once
// The one QApplication of hexbench's Qt rows, created headless on first use and never
// destroyed (tearing Qt down from a static destructor would race its own globals).

class TBenchApp {
public:
    static void Ensure();
};
