#pragma once
// Utilities of the program shared by the main window and its dialogs: the application title,
// the nested busy state, message boxes, and placing a dialog over the main window.

#include <QPoint>
#include <QRect>
#include <QString>

class QWidget;

class TAppUtils {
public:
    static QString ApplicationTitle() { return QStringLiteral("へくすかばっと。"); }

    // The window that the busy state disables.
    static void SetMainWindow(QWidget *main);
    // Nested: the first BeginBusy shows the hourglass and disables the main window, the
    // matching last EndBusy undoes both. Use TBusy to pair them even when work throws.
    static void BeginBusy();
    static void EndBusy();
    static int BusyDepth();

    // A message box of the program (through TUiServices); returns the button pressed.
    static int ShowAppMessage(const QString &text, unsigned flags);

    // Where a dialog goes: centred over the main window, at least 10 pixels from the top and
    // left screen edges, and pulled back when it would come within 10 pixels of the right or
    // bottom edge.
    static QPoint CenteredPosition(const QRect &dialog, const QRect &main, const QRect &screen);
    static void CenterOnMainForm(QWidget *dialog, QWidget *main);
};

class TBusy {
public:
    TBusy() { TAppUtils::BeginBusy(); }
    ~TBusy() { TAppUtils::EndBusy(); }
    TBusy(const TBusy &) = delete;
    TBusy &operator=(const TBusy &) = delete;
};
