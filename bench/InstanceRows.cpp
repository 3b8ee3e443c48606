// instances-count: EditorInstanceCount with 20 instances running (hexbench's own registry
// and 19 child processes that run only theirs), as the program asks it at start and exit.
// The median of 50 calls, this process's events handled between them as its event loop
// would. No physical baseline: the target is absolute, under 20 ms, so that neither start
// nor exit waits noticeably.

#include "BenchApp.h"
#include "BenchTable.h"

#include "TInstanceRegistry.h"
#include "TTempFile.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

namespace {
constexpr int kInstances = 20;

void InstancesCount()
{
    TBenchApp::Ensure();
    std::string dir = TTempFile::TempDir() + "/hexbench-runtime-XXXXXX";
    if (!::mkdtemp(dir.data()))
        return;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(dir));
    std::vector<std::unique_ptr<QProcess>> children;
    for (int i = 1; i < kInstances; ++i) {
        children.push_back(std::make_unique<QProcess>());
        children.back()->setProcessEnvironment(env);
        children.back()->start(QStringLiteral(HEXBENCH_INSTANCE), QStringList());
    }
    bool ready = true;
    for (auto &c : children) {
        const QDeadlineTimer deadline(15000);
        while (!c->canReadLine() && !deadline.hasExpired() && c->state() != QProcess::NotRunning)
            c->waitForReadyRead(100);
        ready = ready && c->readLine().startsWith("ready");
    }
    {
        TInstanceRegistry registry(QString::fromStdString(dir) + QStringLiteral("/hexcavator"));
        std::vector<double> runs;
        int count = 0;
        for (int i = 0; ready && i < 50; ++i) {
            const double t = TBenchTable::Now();
            count = registry.EditorInstanceCount();
            runs.push_back(TBenchTable::Now() - t);
            QCoreApplication::processEvents();
        }
        if (!ready || count != kInstances) {
            std::fprintf(stderr, "instances-count: %d instances answered, not %d\n", count, kInstances);
        } else {
            std::sort(runs.begin(), runs.end());
            TBenchTable::PrintNoBaseline("instances-count", kInstances, runs[runs.size() / 2]);
        }
    }
    for (auto &c : children) {
        c->closeWriteChannel();
        if (!c->waitForFinished(3000))
            c->kill();
        c->waitForFinished(3000);
    }
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

const bool kRegistered = TBenchTable::Register("instances-count", InstancesCount);
} // namespace
