#include "TRecentFiles.h"

#include "TFileCommands.h"
#include "TSettingsFile.h"
#include "TVxHexcavator.h"
#include "TfrmMain.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <algorithm>

QString TRecentFiles::Caption(size_t n, const std::string &path)
{
    return QStringLiteral("&%1. ").arg(QString::number(qulonglong(n), 16).toUpper()) + QFile::decodeName(path.c_str());
}

void TRecentFiles::VxHexcavator1FileOpen()
{
    // On top of the list as the file holds it now, which another instance may have changed
    // since this one last read it. The menu follows when the notice of this open comes back
    // (LoadRecentFiles).
    FFiles = TSettingsFile().AddRecentFile(FMain.VxHexcavator1->FileName(), kMaxEntries);
}

void TRecentFiles::LoadRecentFiles()
{
    FFiles = TSettingsFile().LoadRecentFiles();
    RebuildRecentMenu();
}

void TRecentFiles::RebuildRecentMenu()
{
    QMenu *menu = FMain.FileMenu();
    QAction *start = FMain.findChild<QAction *>(QStringLiteral("mnuMRUStart"));
    QAction *end = FMain.findChild<QAction *>(QStringLiteral("mnuMRUEnd"));
    if (!menu || !start || !end)
        return;
    start->setVisible(!FFiles.empty());
    for (QAction *item : FItems) {
        menu->removeAction(item);
        delete item;
    }
    FItems.clear();
    for (size_t i = 0; i < FFiles.size(); ++i) {
        auto *item = new QAction(Caption(i + 1, FFiles[i]), menu);
        const int tag = static_cast<int>(i);
        QObject::connect(item, &QAction::triggered, &FMain, [this, tag] { RecentFileClick(tag); });
        menu->insertAction(end, item);
        FItems.push_back(item);
    }
}

void TRecentFiles::RecentFileClick(int tag)
{
    if (tag < 0 || size_t(tag) >= FFiles.size())
        return;
    // A copy: opening here reloads the list and replaces the entries.
    const std::string path = FFiles[size_t(tag)];
    FMain.Files().OpenFile(QFile::decodeName(path.c_str()));
}
