#include "TTermWatch.h"

#include "TTermSignals.h"

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QCoreApplication>
#include <QWinEventNotifier>
#include <windows.h>

struct TTermWatch::TImpl : QAbstractNativeEventFilter {
    std::function<void()> OnEnd;
    TTermSignals Signals;
    std::unique_ptr<QWinEventNotifier> Notifier; // declared last: gone before the event closes

    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *result) override
    {
        if (type != "windows_generic_MSG")
            return false;
        const MSG *msg = static_cast<const MSG *>(message);
        if (msg->message == WM_QUERYENDSESSION) {
            *result = TRUE; // never holds up the session's end
            OnEnd();
            return true;
        }
        if (msg->message == WM_ENDSESSION) {
            if (msg->wParam)
                OnEnd();
            *result = 0;
            return true;
        }
        return false;
    }
};

TTermWatch::TTermWatch(std::function<void()> onEnd) : F(std::make_unique<TImpl>())
{
    F->OnEnd = std::move(onEnd);
    QCoreApplication::instance()->installNativeEventFilter(F.get());
    if (F->Signals.Fd() == kNoFile)
        return;
    F->Notifier = std::make_unique<QWinEventNotifier>(F->Signals.Fd());
    QObject::connect(F->Notifier.get(), &QWinEventNotifier::activated, [this] {
        F->Signals.Take();
        F->OnEnd();
    });
}

TTermWatch::~TTermWatch()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(F.get());
}
