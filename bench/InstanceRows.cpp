// The instance rows, among child processes that run only a registry (hexbench-instance). No
// physical baseline: the targets are absolute, so that neither start nor exit nor a search
// waits noticeably for the other instances.
//   instances-count  EditorInstanceCount with 20 instances running (hexbench's own registry
//                    and 19 children), as the program asks it at start and exit; the median of
//                    50 calls, this process's events handled between them.
//   search-share     from SetSearchText in a main window (the program's own wiring: record
//                    stored, notice posted) until 5 other instances have read the new text;
//                    the median of 20 texts.

#include "BenchApp.h"
#include "BenchTable.h"

#include "TAppDir.h"
#include "TInstanceCommands.h"
#include "TInstanceRegistry.h"
#include "TSearchCommands.h"
#include "TTempFile.h"
#include "TVxSearchRecord.h"
#include "TBusyState.h"
#include "TCommandPlaces.h"
#include "TSettingsModel.h"
#include "TVxHexcavator.h"

#include <QMainWindow>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// A private runtime folder with `n` child instances listening in it; all gone at the end.
struct TChildInstances {
    std::string Dir = TTempFile::TempDir() + "/hexbench-runtime-XXXXXX";
    std::vector<std::unique_ptr<QProcess>> Children;
    bool Ready = false;

    TChildInstances(int n, const QStringList &args)
    {
        if (!::mkdtemp(Dir.data())) {
            Dir.clear();
            return;
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(Dir));
        for (int i = 0; i < n; ++i) {
            Children.push_back(std::make_unique<QProcess>());
            Children.back()->setProcessEnvironment(env);
            Children.back()->start(QStringLiteral(HEXBENCH_INSTANCE), args);
        }
        Ready = true;
        for (auto &c : Children)
            Ready = ReadLine(*c, 15000).startsWith("ready") && Ready;
    }
    ~TChildInstances()
    {
        for (auto &c : Children) {
            c->closeWriteChannel();
            if (!c->waitForFinished(3000))
                c->kill();
            c->waitForFinished(3000);
        }
        std::error_code ec;
        if (!Dir.empty())
            std::filesystem::remove_all(Dir, ec);
    }
    QString Folder() const { return QString::fromStdString(Dir) + QStringLiteral("/hexcavator"); }
    static QByteArray ReadLine(QProcess &c, int ms)
    {
        const QDeadlineTimer deadline(ms);
        while (!c.canReadLine() && !deadline.hasExpired() && c.state() != QProcess::NotRunning) {
            QCoreApplication::processEvents();
            c.waitForReadyRead(1);
        }
        return c.readLine().trimmed();
    }
};

void InstancesCount()
{
    constexpr int kInstances = 20;
    TBenchApp::Ensure();
    TChildInstances children(kInstances - 1, {});
    if (!children.Ready)
        return;
    TInstanceRegistry registry(children.Folder());
    std::vector<double> runs;
    int count = 0;
    for (int i = 0; i < 50; ++i) {
        const double t = TBenchTable::Now();
        count = registry.EditorInstanceCount();
        runs.push_back(TBenchTable::Now() - t);
        QCoreApplication::processEvents();
    }
    if (count != kInstances) {
        std::fprintf(stderr, "instances-count: %d instances answered, not %d\n", count, kInstances);
        return;
    }
    std::sort(runs.begin(), runs.end());
    TBenchTable::PrintNoBaseline("instances-count", kInstances, runs[runs.size() / 2]);
}

void SearchShare()
{
    constexpr int kOthers = 5;
    TBenchApp::Ensure();
    // A block of its own: the user's running editors keep their search text.
    const std::string block = "hexbench-search-" + std::to_string(::getpid());
    TChildInstances children(kOthers, {QString::fromStdString(block)});
    if (!children.Ready)
        return;
    const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(children.Dir));
    TAppDir::SetOverride(children.Dir);
    TInstanceCommands::SetBlockName(block);
    std::vector<double> runs;
    {
        // The search and instance features of a window, wired as the main window wires them.
        QMainWindow window;
        auto *editor = new TVxHexcavator(&window);
        TBusyState busy(&window);
        TCommandPlaces places;
        TSettingsModel settings(busy);
        const TFeatureContext context{*editor, busy, window, places, settings};
        TSearchCommands searches(context);
        TInstanceCommands instances(context, searches.State());
        for (int i = 0; i < 20; ++i) {
            const std::string text = "needle-" + std::to_string(i);
            const double t = TBenchTable::Now();
            searches.Search().SetSearchText(text, false);
            bool all = true;
            for (auto &c : children.Children)
                all = TChildInstances::ReadLine(*c, 5000) == QByteArray::fromStdString("text " + text) && all;
            runs.push_back(TBenchTable::Now() - t);
            if (!all) {
                std::fprintf(stderr, "search-share: not every instance got \"%s\"\n", text.c_str());
                runs.clear();
                break;
            }
        }
    }
    TInstanceCommands::SetBlockName(TVxSearchRecord::kBlockName);
    TAppDir::SetOverride(std::string());
    if (oldRuntime.isNull())
        qunsetenv("XDG_RUNTIME_DIR");
    else
        qputenv("XDG_RUNTIME_DIR", oldRuntime);
    if (runs.empty())
        return;
    std::sort(runs.begin(), runs.end());
    TBenchTable::PrintNoBaseline("search-share", kOthers, runs[runs.size() / 2]);
}

HX_BENCH_ROW("instances-count", InstancesCount);
HX_BENCH_ROW("search-share", SearchShare);
} // namespace
