#include "TAppUtils.h"

#include "TBusyProgress.h"
#include "TUiServices.h"

#include <QApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {
QPointer<QWidget> gMain;
QPointer<QWidget> gFocusBeforeBusy;
int gBusy = 0;
QString gBusyCaption;
TBusyProgress *gProgress = nullptr;

// Integer division truncating toward zero, as the placement rule is defined.
int HalfDiff(int a, int b) { return (a - b) / 2; }
} // namespace

void TAppUtils::SetMainWindow(QWidget *main) { gMain = main; }
QWidget *TAppUtils::MainWindow() { return gMain; }
void TAppUtils::SetBusyCaption(const QString &caption) { gBusyCaption = caption; }
QString TAppUtils::BusyCaption() { return gBusyCaption; }
void TAppUtils::SetBusyProgress(TBusyProgress *progress) { gProgress = progress; }

void TAppUtils::BeginBusy()
{
    if (++gBusy == 1) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        // Disabling the window takes the focus from the editor; it gets it back at the end.
        gFocusBeforeBusy = QApplication::focusWidget();
        if (gMain)
            gMain->setEnabled(false);
        if (gProgress)
            gProgress->Start();
    }
}

void TAppUtils::EndBusy()
{
    if (gBusy == 0)
        return;
    if (--gBusy == 0) {
        if (gProgress)
            gProgress->Finish();
        gBusyCaption.clear();
        if (gMain)
            gMain->setEnabled(true);
        if (gFocusBeforeBusy)
            gFocusBeforeBusy->setFocus();
        gFocusBeforeBusy = nullptr;
        QApplication::restoreOverrideCursor();
    }
}

int TAppUtils::BusyDepth() { return gBusy; }

int TAppUtils::ShowAppMessage(const QString &text, unsigned flags)
{
    // A box owned by the window that the busy state disabled would be disabled with it.
    QWidget *parent = gMain && gMain->isEnabled() ? gMain.data() : nullptr;
    return TUiServices::Instance().MessageBox(parent, text, flags);
}

QPoint TAppUtils::CenteredPosition(const QRect &dialog, const QRect &main, const QRect &screen)
{
    int left = std::max(10, main.left() + HalfDiff(main.width(), dialog.width()));
    int top = std::max(10, main.top() + HalfDiff(main.height(), dialog.height()));
    if (top + dialog.height() + 10 > screen.height())
        top = screen.height() - dialog.height() - 10;
    if (left + dialog.width() + 10 > screen.width())
        left = screen.width() - dialog.width() - 10;
    return QPoint(left, top);
}

void TAppUtils::CenterOnMainForm(QWidget *dialog, QWidget *main)
{
    if (!dialog || !main)
        return;
    QScreen *screen = main->screen() ? main->screen() : QApplication::primaryScreen();
    QRect area = screen ? screen->geometry() : QRect(0, 0, 1920, 1080);
    QRect dlg(dialog->frameGeometry().topLeft(), dialog->frameGeometry().size());
    dialog->move(CenteredPosition(dlg, main->frameGeometry(), area));
}
