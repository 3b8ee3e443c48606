#pragma once
// The application object. Any error that escapes an event handler ends here and is shown
// in the program's message box instead of ending the program.
//
// The system's requests to end the program (TTermWatch: SIGTERM and SIGHUP, a session ending,
// `kill`; on Windows the console's control events and the session's end) leave the event loop
// with status 0, without asking about unsaved changes: exec() returns, the windows are
// destroyed the ordinary way and the working copy goes with them.
//
// Qt's own texts (standard buttons, the file, font, colour and print dialogs) are Japanese
// whatever the system's locale, like the rest of the program: the constructor installs Qt's
// Japanese translation. Where it is not installed, Qt's English texts remain.
//
// Who calls: main(), once, before the main window.

#include <QApplication>
#include <QString>
#include <memory>

class QTranslator;
class TTermWatch;

class THexApplication : public QApplication {
public:
    THexApplication(int &argc, char **argv);
    ~THexApplication() override;
    bool notify(QObject *receiver, QEvent *event) override;

    // Loads Qt's Japanese translation (qtbase_ja) from `folder` and installs it in `app`,
    // which owns it; deleting it takes it out again. Null when the folder has none.
    static QTranslator *InstallQtJapanese(QCoreApplication &app, const QString &folder = QtTranslationsFolder());
    // Where Qt's translations of this Qt installation live.
    static QString QtTranslationsFolder();

private:
    std::unique_ptr<TTermWatch> FTermWatch;
};
