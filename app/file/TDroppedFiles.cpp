#include "TDroppedFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {
// The local file a freedesktop "Type=Link" entry points at; empty when it is not one.
QString DesktopLinkTarget(const QString &path)
{
    if (!path.endsWith(QLatin1String(".desktop")))
        return QString();
    QSettings entry(path, QSettings::IniFormat);
    entry.beginGroup(QStringLiteral("Desktop Entry"));
    if (entry.value(QStringLiteral("Type")).toString() != QLatin1String("Link"))
        return QString();
    const QUrl url(entry.value(QStringLiteral("URL")).toString());
    return url.isLocalFile() ? url.toLocalFile() : QString();
}
} // namespace

QString TDroppedFiles::ResolvePath(const QString &path)
{
    if (path.isEmpty())
        return QString();
    QString p = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const QString link = DesktopLinkTarget(p);
    if (!link.isEmpty())
        p = QDir::cleanPath(QFileInfo(link).absoluteFilePath());
    QFileInfo info(p);
    if (info.isSymLink())
        info = QFileInfo(info.canonicalFilePath());
    if (!info.exists() || info.isDir())
        return QString();
    return QDir::cleanPath(info.absoluteFilePath());
}

QStringList TDroppedFiles::Resolve(const QList<QUrl> &urls)
{
    QStringList out;
    for (const QUrl &url : urls) {
        if (!url.isLocalFile())
            continue;
        const QString p = ResolvePath(url.toLocalFile());
        if (!p.isEmpty())
            out << p;
    }
    return out;
}
