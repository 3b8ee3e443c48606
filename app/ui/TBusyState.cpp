#include "TBusyState.h"

#include "TEngineMessages.h"
#include "TUiServices.h"

#include <QApplication>
#include <QWidget>
#include <exception>
#include <optional>

TBusyState::TBusyState(QWidget *window) : FWindow(window) {}

TBusyState::~TBusyState() = default;

void TBusyState::Begin()
{
    if (++FDepth == 1) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        // Disabling the window takes the focus from the editor; it gets it back at the end.
        FFocusBefore = QApplication::focusWidget();
        if (FWindow)
            FWindow->setEnabled(false);
        FProgress.Start(FWindow);
    }
}

void TBusyState::End()
{
    if (FDepth == 0)
        return;
    if (--FDepth == 0) {
        FProgress.Finish();
        SetCaption(QString());
        if (FWindow)
            FWindow->setEnabled(true);
        if (FFocusBefore)
            FFocusBefore->setFocus();
        FFocusBefore = nullptr;
        QApplication::restoreOverrideCursor();
    }
}

void TBusyState::SetCaption(const QString &caption)
{
    FCaption = caption;
    FProgress.SetCaption(caption);
}

bool TBusyState::Run(const std::function<void()> &work, bool busy, const QString &caption)
{
    std::optional<TBusy> guard;
    if (busy)
        guard.emplace(*this, caption);
    try {
        work();
        return true;
    } catch (const TVxCancelled &) {
        return false; // the user stopped it; everything is as it was
    } catch (const std::exception &e) {
        guard.reset(); // the message box needs a usable window
        Message(TEngineMessages::TextOf(e), 0x10);
        return false;
    }
}

int TBusyState::Message(const QString &text, unsigned flags)
{
    // A box owned by the window that the busy state disabled would be disabled with it.
    QWidget *parent = FWindow && FWindow->isEnabled() ? FWindow.data() : nullptr;
    return TUiServices::Instance().MessageBox(parent, text, flags);
}
