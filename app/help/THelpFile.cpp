#include "THelpFile.h"

#include "TBusyState.h"
#include "TUiServices.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString THelpFile::Path(const QString &programDir)
{
    const QDir bin(programDir.isEmpty() ? QCoreApplication::applicationDirPath() : programDir);
    const QString beside = bin.filePath(QStringLiteral("README.md"));
    if (QFileInfo::exists(beside))
        return beside;
    return QDir::cleanPath(bin.filePath(QStringLiteral("../share/doc/hexcavator/README.md")));
}

void THelpFile::Open(TBusyState &busy, const QString &programDir)
{
    const QString path = Path(programDir);
    if (!QFileInfo::exists(path)) {
        busy.Message(path + QStringLiteral("\r\nヘルプファイルが見つかりません。"), 0x10);
        return;
    }
    if (!TUiServices::Instance().OpenDocument(path))
        busy.Message(path + QStringLiteral("\r\nこのファイルを開くプログラムがありません。"), 0x40);
}
