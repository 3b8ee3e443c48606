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
    acVersion = TCommand::Make(window, "acVersion", QStringLiteral("バージョン情報(&A)..."), QKeySequence(),
                               QStringLiteral("バージョン情報"));
    acHomepage = TCommand::Make(window, "acHomepage", QStringLiteral("作者ホームページ(&W)"), QKeySequence(),
                                QStringLiteral("作者ホームページ"));
    context.Places.Add(QStringLiteral("help.about"), {acVersion});
    context.Places.Add(QStringLiteral("help.web"), {acHomepage});
    TBusyState *busy = &context.Busy;
    QObject::connect(acVersion, &QAction::triggered, window, [window] { TfrmVersion::ShowAbout(window); });
    QObject::connect(acHomepage, &QAction::triggered, window, [busy] { THelpFile::Open(*busy); });
}
