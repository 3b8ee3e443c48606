#pragma once
// The application object. Any error that escapes an event handler ends here and is shown
// in the program's message box instead of ending the program.
//
// SIGTERM and SIGHUP (a session ending, `kill`) leave the event loop with status 0, without
// asking about unsaved changes: exec() returns, the windows are destroyed the ordinary way and
// the working copy goes with them.

#include <QApplication>
#include <memory>

class QSocketNotifier;
class TTermSignals;

class THexApplication : public QApplication {
public:
    THexApplication(int &argc, char **argv);
    ~THexApplication() override;
    bool notify(QObject *receiver, QEvent *event) override;

private:
    std::unique_ptr<TTermSignals> FTermSignals;
    std::unique_ptr<QSocketNotifier> FTermNotifier; // declared last: gone before the pipe closes
};
