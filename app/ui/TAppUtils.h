#pragma once
// Small pieces every window of the program shares: the application title, placing a
// dialog over the main window, and room for a panel docked beside the editor. Stateless; the busy state and message boxes belong to the
// window's TBusyState.
//
// Who calls: every dialog of the program and the progress window.

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>

class QDockWidget;
class QMainWindow;
class QWidget;

class TAppUtils {
public:
    static QString ApplicationTitle() { return QStringLiteral("へくすかばっと。"); }
    // The font of the program's dialogs: "ＭＳ Ｐゴシック", 12 pixels high.
    static QFont DialogFont();

    // Where a dialog goes: centred over the main window, at least 10 pixels from the top and
    // left screen edges, and pulled back when it would come within 10 pixels of the right or
    // bottom edge.
    static QPoint CenteredPosition(const QRect &dialog, const QRect &main, const QRect &screen);
    static void CenterOnMainForm(QWidget *dialog, QWidget *main);

    // A dock just shown left or right of the central widget: a window that is not maximised
    // widens, within the screen, so that the central widget keeps `centralWidth` and the dock
    // gets `dockWidth`; where the screen is too narrow, the central widget comes first.
    // Nothing for a floating dock or one above or below.
    static void MakeRoomBeside(QMainWindow &window, QDockWidget *dock, int centralWidth, int dockWidth);
};
