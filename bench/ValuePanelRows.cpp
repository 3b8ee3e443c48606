// The byte values panel's cost to the caret, on a 1 GiB document in the shown main window:
//  - inspector-step: one Right-arrow step, the key handled and every repaint it queues done,
//    with the panel shown (ours) and hidden (the baseline: the same step without the panel);
//  - inspector-refresh: the panel's own part of a step: the key handled (the caret move and
//    the panel's refresh) and the whole panel painted (a step repaints only the cells that
//    changed), beside the key handled with the panel hidden. Target: under 1 ms.
// Medians of many steps through fresh bytes.

#include "BenchApp.h"
#include "BenchTable.h"

#include "TAppDir.h"
#include "TByteValuesPanel.h"
#include "TByteValuesTable.h"
#include "TVxHexcavator.h"
#include "TfrmMain.h"

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QImage>
#include <QKeyEvent>

#include <algorithm>
#include <functional>
#include <vector>

namespace {
constexpr int64_t kDocSize = int64_t(1) << 30;

// One Right-arrow key, then `after`, then (when asked) every queued repaint; the median.
double MedianStep(TfrmMain &frm, const std::function<void()> &after, bool events)
{
    TVxHexcavator &ed = *frm.VxHexcavator1;
    std::vector<double> times;
    for (int i = 0; i < 300; ++i) {
        const double t = TBenchTable::Now();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
        QApplication::sendEvent(&ed, &press);
        after();
        if (events)
            QApplication::processEvents();
        times.push_back(TBenchTable::Now() - t);
        if (!events)
            QApplication::processEvents(); // outside the timing
    }
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    return times[times.size() / 2];
}

void ValuePanelStep()
{
    TBenchApp::Ensure();
    // A private settings folder, so the user's file is neither read nor written.
    const TBenchTable::TDataDir folder("hexbench-values");
    const std::string &dir = folder.Path();
    if (dir.empty())
        return;
    TAppDir::SetOverride(dir);
    {
        const TBenchTable::TDataFile doc(kDocSize, 11);
        TfrmMain frm;
        frm.resize(1600, 900);
        frm.show();
        frm.VxHexcavator1->LoadFromFile(doc.Path());
        frm.VxHexcavator1->GotoOffset(int32_t(kDocSize / 2));
        frm.VxHexcavator1->setFocus();
        QApplication::processEvents();
        const double without = MedianStep(frm, [] {}, true);
        frm.findChild<QAction *>(QStringLiteral("acViewByteValues"))->trigger();
        QApplication::processEvents();
        const double with = MedianStep(frm, [] {}, true);
        TBenchTable::Print("inspector-step", kDocSize, with, without);

        // Drawn into an image: a repaint() would also paint the editor's rows that the key
        // marked, which the baseline row above already counts.
        TByteValuesTable *panel = frm.findChild<TByteValuesTable *>(QStringLiteral("ByteValuesPanelView"));
        QImage image(panel->size(), QImage::Format_RGB32);
        const double own = MedianStep(frm, [panel, &image] { panel->render(&image); }, false);
        frm.findChild<QAction *>(QStringLiteral("acViewByteValues"))->trigger();
        QApplication::processEvents();
        const double keyOnly = MedianStep(frm, [] {}, false);
        TBenchTable::Print("inspector-refresh", kDocSize, own, keyOnly);
    }
    TAppDir::SetOverride(std::string());
}

const bool kRegistered = TBenchTable::Register("inspector-step", ValuePanelStep); // prints inspector-refresh too
} // namespace
