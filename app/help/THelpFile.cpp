#include "THelpFile.h"

#include "TBusyState.h"
#include "TUiServices.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

const THelpFile &THelpFile::Readme()
{
    static const THelpFile readme("README.md", "ヘルプファイルが見つかりません。", "このファイルを開くプログラムがありません。");
    return readme;
}

const THelpFile &THelpFile::Manual()
{
    static const THelpFile manual("manual/index.html", "マニュアル（目次）のファイルが見つかりません。",
                                  "マニュアルを表示するブラウザがありません。");
    return manual;
}

QString THelpFile::Path(const QString &programDir) const
{
    const QDir bin(programDir.isEmpty() ? QCoreApplication::applicationDirPath() : programDir);
    const QString relative = QString::fromUtf8(FRelativePath);
    const QString beside = bin.filePath(relative);
    if (QFileInfo::exists(beside))
        return beside;
    return QDir::cleanPath(bin.filePath(QStringLiteral("../share/doc/hexcavator/") + relative));
}

void THelpFile::Open(TBusyState &busy, const QString &programDir) const
{
    const QString path = Path(programDir);
    if (!QFileInfo::exists(path)) {
        busy.Message(path + QStringLiteral("\r\n") + QString::fromUtf8(FMissing), 0x10);
        return;
    }
    if (!TUiServices::Instance().OpenDocument(path))
        busy.Message(path + QStringLiteral("\r\n") + QString::fromUtf8(FNoViewer), 0x40);
}
