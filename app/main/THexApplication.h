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
    // with our supplement for what it lacks (TQtJapaneseSupplement) after it; `app` owns
    // them, and deleting the one returned takes both out again. Null when the folder has
    // no qtbase_ja.
    static QTranslator *InstallQtJapanese(QCoreApplication &app, const QString &folder = QtTranslationsFolder());
    // Dates, numbers and sizes in Qt's dialogs in Japanese form, whatever the system's locale.
    static void UseJapaneseLocale();
    // Before the application exists: the dialogs that ask the system's locale (the file
    // dialog's sizes and dates) get Japanese dates and words too. Numbers (LC_NUMERIC) stay
    // the system's. Where the system's own locale rules (Windows), nothing changes.
    static void PrepareJapaneseLocale();
    // Where Qt's translations of this Qt installation live.
    static QString QtTranslationsFolder();

private:
    std::unique_ptr<TTermWatch> FTermWatch;
};
