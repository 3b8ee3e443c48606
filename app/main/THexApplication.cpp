#include "THexApplication.h"

#include "TQtJapaneseSupplement.h"

#include "TEngineMessages.h"
#include "TVxFontFallbacks.h"
#include "TUiServices.h"
#include "TVxProgress.h"
#include "TTermWatch.h"
#include "TVxMessageBox.h"

#include <QLibraryInfo>
#include <QWidget>
#include <QLocale>
#include <QTranslator>
#include <exception>

THexApplication::THexApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("hexcavator"));
    UseJapaneseLocale();
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
    // A child of qtbase_ja's translator: installed after it (so asked first) and gone with it.
    QCoreApplication::installTranslator(new TQtJapaneseSupplement(translator.get()));
    return translator.release();
}

void THexApplication::PrepareJapaneseLocale()
{
    // LC_ALL would win over the two set below: its value moves to the other categories.
    const QByteArray all = qgetenv("LC_ALL");
    if (!all.isEmpty() && !all.startsWith("ja")) {
        qunsetenv("LC_ALL");
        for (const char *category : {"LC_CTYPE", "LC_NUMERIC", "LC_COLLATE", "LC_MONETARY"})
            if (qEnvironmentVariableIsEmpty(category))
                qputenv(category, all);
    }
    for (const char *category : {"LC_TIME", "LC_MESSAGES"})
        qputenv(category, QByteArrayLiteral("ja_JP.UTF-8"));
}

void THexApplication::UseJapaneseLocale() { QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan)); }

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
