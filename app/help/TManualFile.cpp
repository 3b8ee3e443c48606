#include "TManualFile.h"

#include "TBusyState.h"
#include "TUiServices.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString TManualFile::Path(const QString &programDir)
{
    const QDir bin(programDir.isEmpty() ? QCoreApplication::applicationDirPath() : programDir);
    const QString beside = bin.filePath(QStringLiteral("manual/index.html"));
    if (QFileInfo::exists(beside))
        return beside;
    return QDir::cleanPath(bin.filePath(QStringLiteral("../share/doc/hexcavator/manual/index.html")));
}

void TManualFile::Open(TBusyState &busy, const QString &programDir)
{
    const QString path = Path(programDir);
    if (!QFileInfo::exists(path)) {
        busy.Message(path + QStringLiteral("\r\nマニュアル（目次）のファイルが見つかりません。"), 0x10);
        return;
    }
    if (!TUiServices::Instance().OpenDocument(path))
        busy.Message(path + QStringLiteral("\r\nマニュアルを表示するブラウザがありません。"), 0x40);
}
