// The start of the program as the user waits for it: creating the main window, loading a
// full settings file with ten recent files and applying it, showing the window and its first
// paint; in-process and headless, the median of several runs. No physical baseline: the
// target is absolute (well under the 50 ms in which a start feels immediate).

#include "BenchApp.h"
#include "BenchTable.h"

#include "TAppDir.h"
#include "TSettingsFile.h"
#include "TVxHexcavator.h"
#include "TfrmMain.h"

#include <QApplication>
#include <algorithm>
#include <vector>

namespace {
void Startup()
{
    TBenchApp::Ensure();
    // A private settings folder with a complete file, as a user's would be after a while.
    const TBenchTable::TDataDir folder("hexbench-settings");
    const std::string &dir = folder.Path();
    if (dir.empty())
        return;
    TAppDir::SetOverride(dir);
    {
        TSettings s;
        s.Position = std::array<int32_t, 4>{40, 40, 1000, 700};
        s.SearchText = "needle";
        const TSettingsFile file;
        file.Save(s);
        for (int i = 0; i < 10; ++i)
            file.AddRecentFile(dir + "/recent-" + std::to_string(i) + ".bin", 10);
    }
    std::vector<double> runs;
    for (int i = 0; i < 15; ++i) {
        const double t = TBenchTable::Now();
        auto *frm = new TfrmMain;
        frm->show();
        frm->VxHexcavator1->viewport()->repaint();
        QApplication::processEvents();
        runs.push_back(TBenchTable::Now() - t);
        delete frm;
    }
    std::sort(runs.begin(), runs.end());
    TBenchTable::PrintNoBaseline("startup", 0, runs[runs.size() / 2]);
    TAppDir::SetOverride(std::string());
}

const bool kRegistered = TBenchTable::Register("startup", Startup);
} // namespace
