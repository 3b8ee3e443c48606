#include "THelpCommands.h"

#include "TCommand.h"
#include "TCommandPlaces.h"
#include "THelpFile.h"
#include "TfrmVersion.h"

#include <QAction>
#include <QMainWindow>

THelpCommands::THelpCommands(const TFeatureContext &context)
{
    QMainWindow *window = &context.Window;
    acContents = TCommand::Make(window, "acContents", QStringLiteral("目次(&H)"), QKeySequence(Qt::Key_F1),
                                QStringLiteral("目次"));
    acVersion = TCommand::Make(window, "acVersion", QStringLiteral("バージョン情報(&A)..."), QKeySequence(),
                               QStringLiteral("バージョン情報"));
    acHomepage = TCommand::Make(window, "acHomepage", QStringLiteral("作者ホームページ(&W)"), QKeySequence(),
                                QStringLiteral("作者ホームページ"));
    // The guide heads the menu's first group, above the about box.
    context.Places.Add(QStringLiteral("help.about"), {acContents, acVersion});
    context.Places.Add(QStringLiteral("help.web"), {acHomepage});
    TBusyState *busy = &context.Busy;
    QObject::connect(acContents, &QAction::triggered, window, [busy] { THelpFile::Manual().Open(*busy); });
    QObject::connect(acVersion, &QAction::triggered, window, [window] { TfrmVersion::ShowAbout(window); });
    QObject::connect(acHomepage, &QAction::triggered, window, [busy] { THelpFile::Readme().Open(*busy); });
}
