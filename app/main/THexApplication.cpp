#include "THexApplication.h"

#include "TEngineMessages.h"
#include "TFontFallbacks.h"
#include "TUiServices.h"
#include "TVxProgress.h"
#include "TTermSignals.h"
#include "TVxMessageBox.h"

#include <QLibraryInfo>
#include <QWidget>
#include <QSocketNotifier>
#include <QTranslator>
#include <exception>

THexApplication::THexApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("hexcavator"));
    InstallQtJapanese(*this);
    TFontFallbacks::Install();
    FTermSignals = std::make_unique<TTermSignals>();
    if (FTermSignals->Fd() >= 0) {
        FTermNotifier = std::make_unique<QSocketNotifier>(FTermSignals->Fd(), QSocketNotifier::Read);
        QObject::connect(FTermNotifier.get(), &QSocketNotifier::activated, this, [this] {
            FTermSignals->Take();
            // exit(), not quit(): quit() would close the windows first, and a window with
            // unsaved changes would ask and could refuse.
            exit(0);
        });
    }
}

THexApplication::~THexApplication() = default;

QString THexApplication::QtTranslationsFolder() { return QLibraryInfo::path(QLibraryInfo::TranslationsPath); }

QTranslator *THexApplication::InstallQtJapanese(QCoreApplication &app, const QString &folder)
{
    auto translator = std::make_unique<QTranslator>(&app);
    // By name, not by QLocale: the program is Japanese on every system.
    if (!translator->load(QStringLiteral("qtbase_ja"), folder) || !QCoreApplication::installTranslator(translator.get()))
        return nullptr;
    return translator.release();
}

bool THexApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const TVxCancelled &) {
        // The user stopped the work; it left everything as it was, and there is nothing to say.
        // The busy states it ran in were left as the stack unwound.
    } catch (const std::exception &e) {
        QWidget *window = activeWindow();
        TUiServices::Instance().MessageBox(window && window->isEnabled() ? window : nullptr,
                                           TEngineMessages::TextOf(e), mbIconStop);
    }
    return false;
}
