#include "THexApplication.h"

#include "TEngineMessages.h"
#include "TVxFontFallbacks.h"
#include "TUiServices.h"
#include "TVxProgress.h"
#include "TTermWatch.h"
#include "TVxMessageBox.h"

#include <QLibraryInfo>
#include <QWidget>
#include <QTranslator>
#include <exception>

THexApplication::THexApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("hexcavator"));
    InstallQtJapanese(*this);
    TVxFontFallbacks::Install();
    FTermWatch = std::make_unique<TTermWatch>([] {
        // exit(), not quit(): quit() would close the windows first, and a window with
        // unsaved changes would ask and could refuse.
        exit(0);
    });
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
