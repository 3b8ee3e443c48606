// F7 to a difference far away, in the compare feature over a 1 GiB document (A) and another
// file (B) that differs from it in one byte, 900 MiB in; both files in the page cache:
//   compare-next        the caret at 0, the compare done: F7 until the caret is at the
//                       difference (target under 0.5 s)
//   compare-next-stale  the same after an edit at the start made the result stale: F7
//                       compares again, then moves
// Baseline of both: cmp -l A B of the same files (Windows: the block compare), the least a
// compare of the two files does.

#include "BenchApp.h"
#include "BenchBaseline.h"
#include "BenchTable.h"

#include "TAppDir.h"
#include "TBusyState.h"
#include "TCommandPlaces.h"
#include "TCompareCommands.h"
#include "TSettingsModel.h"
#include "TVxHexcavator.h"

#include <QAction>
#include <QMainWindow>

namespace {
constexpr int64_t kSize = int64_t(1) << 30;
constexpr int64_t kAt = int64_t(900) << 20;

void CompareNext()
{
    TBenchApp::Ensure();
    const TBenchTable::TDataDir folder("hexbench-compare-next");
    if (folder.Path().empty())
        return;
    TAppDir::SetOverride(folder.Path());
    {
        const TBenchTable::TDataFile a(kSize, 41);
        const TBenchTable::TDataFile::TFill random = TBenchTable::TDataFile::RandomFill(41);
        int64_t written = 0;
        const TBenchTable::TDataFile b(kSize, [&](uint8_t *block, size_t count) {
            random(block, count);
            if (kAt >= written && kAt < written + int64_t(count))
                block[kAt - written] ^= 0xFF;
            written += int64_t(count);
        });
        const double baseline = TBenchBaseline::Differ(a.Path(), b.Path());

        QMainWindow window;
        auto *editor = new TVxHexcavator(&window);
        window.setCentralWidget(editor);
        TBusyState busy(&window);
        TCommandPlaces places;
        TSettingsModel settings(busy);
        TCompareCommands compare(TFeatureContext{*editor, busy, window, places, settings});
        editor->LoadFromFile(a.Path());
        if (!compare.Compare(QString::fromStdString(b.Path()), true) || !compare.Result())
            return;

        editor->GotoOffset(0);
        double t = TBenchTable::Now();
        compare.acNextDiff->trigger();
        const double next = TBenchTable::Now() - t;
        if (editor->GetCaretOffset() != kAt)
            return;
        TBenchTable::Print("compare-next", kSize, next, baseline);

        editor->SetReadOnlyMode(false);
        editor->OverwriteByte(0, uint8_t(~editor->ByteAt(0)), true); // a difference at the caret: F7 passes it
        editor->GotoOffset(0);
        t = TBenchTable::Now();
        compare.acNextDiff->trigger();
        const double stale = TBenchTable::Now() - t;
        if (editor->GetCaretOffset() != kAt)
            return;
        TBenchTable::Print("compare-next-stale", kSize, stale, baseline);
    }
    TAppDir::SetOverride(std::string());
}

const bool kRegistered = TBenchTable::Register("compare-next", CompareNext); // prints compare-next-stale too
} // namespace
