#include "TTermWatch.h"

#include "TTermSignals.h"

#include <QSocketNotifier>

struct TTermWatch::TImpl {
    TTermSignals Signals;
    std::unique_ptr<QSocketNotifier> Notifier; // declared last: gone before the pipe closes
};

TTermWatch::TTermWatch(std::function<void()> onEnd) : F(std::make_unique<TImpl>())
{
    if (F->Signals.Fd() == kNoFile)
        return;
    F->Notifier = std::make_unique<QSocketNotifier>(F->Signals.Fd(), QSocketNotifier::Read);
    QObject::connect(F->Notifier.get(), &QSocketNotifier::activated, [this, onEnd = std::move(onEnd)] {
        F->Signals.Take();
        onEnd();
    });
}

TTermWatch::~TTermWatch() = default;
