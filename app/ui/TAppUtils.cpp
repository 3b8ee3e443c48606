#include "TAppUtils.h"

#include <QApplication>
#include <QDockWidget>
#include <QMainWindow>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace {
// Integer division truncating toward zero, as the placement rule is defined.
int HalfDiff(int a, int b) { return (a - b) / 2; }
} // namespace

QFont TAppUtils::DialogFont()
{
    QFont f(QStringLiteral("ＭＳ Ｐゴシック"));
    f.setPixelSize(12);
    return f;
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

void TAppUtils::MakeRoomBeside(QMainWindow &window, QDockWidget *dock, int centralWidth, int dockWidth)
{
    const Qt::DockWidgetArea area = window.dockWidgetArea(dock);
    if (dock->isFloating() || (area != Qt::LeftDockWidgetArea && area != Qt::RightDockWidgetArea) ||
        window.isMaximized() || window.isFullScreen())
        return;
    const int separator = window.style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent, nullptr, &window);
    int width = window.width();
    if (width < centralWidth + separator + dockWidth) {
        // Never wider than the screen holds, frame included.
        width = centralWidth + separator + dockWidth;
        if (const QScreen *screen = window.screen())
            width = std::min(width, screen->availableGeometry().width() - (window.frameGeometry().width() - window.width()));
        width = std::max(width, window.width());
        window.resize(width, window.height());
    }
    window.resizeDocks({dock}, {std::max(1, std::min(dockWidth, width - centralWidth - separator))}, Qt::Horizontal);
}
