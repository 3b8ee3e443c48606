#include "TBusyProgress.h"

#include "TAppUtils.h"

#include <QCoreApplication>
#include <QProgressDialog>

TBusyProgress::TBusyProgress() = default;
TBusyProgress::~TBusyProgress() = default;

void TBusyProgress::Start(QWidget *centreOn)
{
    FCentreOn = centreOn;
    FActive = true;
    FCancel = false;
    FLastPump = 0;
    FShownAt = 0;
    FClock.start();
}

void TBusyProgress::Finish()
{
    FActive = false;
    FCancel = false;
    FWindow.reset();
}

void TBusyProgress::Dismiss()
{
    FWindow.reset();
    FShownAt = Elapsed();
}

void TBusyProgress::Fit()
{
    // The dialog measures itself once, when it is made: a caption or a cancel button added
    // later would be cut off (a 200 x 91 window hid "キャンセル"). Grow to what it needs now.
    FWindow->resize(FWindow->sizeHint().expandedTo(FWindow->size()));
}

void TBusyProgress::Show()
{
    // Without a parent: a window owned by the disabled main window would be disabled too.
    FWindow = std::make_unique<QProgressDialog>();
    FWindow->setWindowTitle(TAppUtils::ApplicationTitle());
    FWindow->setLabelText(FCaption);
    FWindow->setRange(0, 1000);
    FWindow->setAutoClose(false);
    FWindow->setAutoReset(false);
    FWindow->setMinimumDuration(0);
    FWindow->setCancelButtonText(FCancellable ? QStringLiteral("キャンセル") : QString());
    QObject::connect(FWindow.get(), &QProgressDialog::canceled, [this] { FCancel = true; });
    // Esc rejects the dialog: the same request.
    QObject::connect(FWindow.get(), &QDialog::rejected, [this] { FCancel = true; });
    Fit();
    TAppUtils::CenterOnMainForm(FWindow.get(), FCentreOn);
    FWindow->show();
}

void TBusyProgress::Report(int64_t done, int64_t total, bool cancellable)
{
    if (!FActive)
        return;
    const qint64 now = Elapsed();
    if (now - FLastPump >= 40) {
        FLastPump = now;
        if (!FWindow && now >= kShowAfterMs && now - FShownAt >= kShowAfterMs) {
            FCancellable = cancellable;
            Show();
        }
        if (FWindow) {
            if (cancellable != FCancellable) {
                FCancellable = cancellable;
                FWindow->setCancelButtonText(cancellable ? QStringLiteral("キャンセル") : QString());
                Fit();
            }
            // A nested step (the save before an open) names itself; the window follows.
            if (FWindow->labelText() != FCaption) {
                FWindow->setLabelText(FCaption);
                Fit();
            }
            FWindow->setValue(total > 0 ? static_cast<int>(done * 1000 / total) : 1000);
            if (!FWindow->isVisible()) // Esc while nothing could be cancelled
                FWindow->show();
        }
        QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
    }
    if (FCancel) {
        if (cancellable)
            throw TVxCancelled();
        // Asked while nothing could stop: forgotten, or it would stop the next step of the
        // same busy state (the open after the save of its changes) unasked.
        FCancel = false;
    }
}
