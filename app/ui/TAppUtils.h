#pragma once
// Small pieces every window of the program shares: the application title and placing a
// dialog over the main window. Stateless; the busy state and message boxes belong to the
// window's TBusyState.
//
// Who calls: every dialog of the program and the progress window.

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>

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
};
