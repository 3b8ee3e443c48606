#include "TBusyState.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>

#include "TEngineMessages.h"
#include "TUiServices.h"

#include <QApplication>
#include <QWidget>
#include <exception>
#include <memory>
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
    std::unique_ptr<TBusy> guard;
    if (busy)
        guard = std::make_unique<TBusy>(*this, caption);
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
    // A result is told once the work's window has gone.
    FProgress.Dismiss();
    // A box owned by the window that the busy state disabled would be disabled with it.
    QWidget *parent = FWindow && FWindow->isEnabled() ? FWindow.data() : nullptr;
    // A dialog of ours that stays on top (the replace dialog) would cover a box owned by the
    // main window, leaving the user a greyed dialog and nothing to answer: the box belongs to
    // that dialog then, which puts it above and gives it the focus.
    // Busy, the dialog is disabled with the window; the box needs it usable while it is up.
    QWidget *onTop = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible() && (w->windowFlags() & Qt::WindowStaysOnTopHint) && qobject_cast<QDialog *>(w) &&
            (!FWindow || w->parentWidget() == FWindow.data()))
            onTop = w;
    if (!onTop)
        return TUiServices::Instance().MessageBox(parent, text, flags);
    const QPointer<QWidget> dialog(onTop);
    const bool wasEnabled = onTop->isEnabled();
    onTop->setEnabled(true);
    const int result = TUiServices::Instance().MessageBox(onTop, text, flags);
    if (dialog && !wasEnabled)
        dialog->setEnabled(false);
    return result;
}
