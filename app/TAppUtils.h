#pragma once
// Utilities of the program shared by the main window and its dialogs: the application title,
// the nested busy state, message boxes, and placing a dialog over the main window.

#include <QPoint>
#include <QRect>
#include <QString>

class QWidget;
class TBusyProgress;

class TAppUtils {
public:
    static QString ApplicationTitle() { return QStringLiteral("へくすかばっと。"); }

    // The window that the busy state disables.
    static void SetMainWindow(QWidget *main);
    static QWidget *MainWindow();
    // Nested: the first BeginBusy shows the hourglass and disables the main window, the
    // matching last EndBusy undoes both. Use TBusy to pair them even when work throws.
    static void BeginBusy();
    static void EndBusy();
    static int BusyDepth();
    // The name of the operation running in the busy state ("" for none given); the progress
    // window shows it.
    static void SetBusyCaption(const QString &caption);
    static QString BusyCaption();
    // Started and finished with the busy state (the main window's, for its editor).
    static void SetBusyProgress(TBusyProgress *progress);

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
    // Names the operation for the progress window (an empty caption keeps an outer one).
    explicit TBusy(const QString &caption)
    {
        TAppUtils::BeginBusy();
        if (!caption.isEmpty())
            TAppUtils::SetBusyCaption(caption);
    }
    ~TBusy() { TAppUtils::EndBusy(); }
    TBusy(const TBusy &) = delete;
    TBusy &operator=(const TBusy &) = delete;
};
