#pragma once
// The application object. Any error that escapes an event handler ends here and is shown
// in the program's message box instead of ending the program.

#include <QApplication>

class THexApplication : public QApplication {
public:
    THexApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};
