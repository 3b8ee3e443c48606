#include "TRecentFiles.h"

#include "TCommandPlaces.h"
#include "TSettingsModel.h"
#include "TSettingsFile.h"
#include "TVxHexcavator.h"

#include <QAction>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <algorithm>

TRecentFiles::TRecentFiles(const TFeatureContext &context, std::function<void(const QString &)> open)
    : FEditor(context.Editor), FOpen(std::move(open))
{
    FStart = new QAction(&context.Window);
    FStart->setSeparator(true);
    FStart->setObjectName(QStringLiteral("mnuMRUStart"));
    FEnd = new QAction(&context.Window);
    FEnd->setSeparator(true);
    FEnd->setObjectName(QStringLiteral("mnuMRUEnd"));
    context.Places.Add(QStringLiteral("file.recent"), {FStart, FEnd});
    context.Settings.AddSection([this](const TSettings &, bool) { LoadRecentFiles(); }, [](TSettings &) {});
}

QString TRecentFiles::Caption(size_t n, const std::string &path)
{
    return QStringLiteral("&%1. ").arg(QString::number(qulonglong(n), 16).toUpper()) + QString::fromStdString(path);
}

void TRecentFiles::VxHexcavator1FileOpen()
{
    // On top of the list as the file holds it now, which another instance may have changed
    // since this one last read it. The menu follows when the notice of this open comes back
    // (LoadRecentFiles). An imported image opens untitled: there is no file to list.
    if (FEditor.FileName().empty())
        return;
    FFiles = TSettingsFile().AddRecentFile(FEditor.FileName(), kMaxEntries);
}

void TRecentFiles::LoadRecentFiles()
{
    FFiles = TSettingsFile().LoadRecentFiles();
    RebuildRecentMenu();
}

void TRecentFiles::RebuildRecentMenu()
{
    QMenu *menu = nullptr;
    for (QObject *o : FEnd->associatedObjects())
        if ((menu = qobject_cast<QMenu *>(o)))
            break;
    if (!menu)
        return;
    FStart->setVisible(!FFiles.empty());
    for (QAction *item : FItems) {
        menu->removeAction(item);
        delete item;
    }
    FItems.clear();
    for (size_t i = 0; i < FFiles.size(); ++i) {
        auto *item = new QAction(Caption(i + 1, FFiles[i]), menu);
        const int tag = static_cast<int>(i);
        QObject::connect(item, &QAction::triggered, item, [this, tag] { RecentFileClick(tag); });
        menu->insertAction(FEnd, item);
        FItems.push_back(item);
    }
}

void TRecentFiles::RecentFileClick(int tag)
{
    if (tag < 0 || size_t(tag) >= FFiles.size())
        return;
    // A copy: opening here reloads the list and replaces the entries.
    const std::string path = FFiles[size_t(tag)];
    FOpen(QString::fromStdString(path));
}
