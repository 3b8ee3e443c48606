#include "TImportHandoff.h"

#include "TFileCopy.h"
#include "TUiServices.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <stdexcept>

namespace {
const char kLabel[] = "import";

QString PrivateDir() { return QDir::cleanPath(QString::fromStdString(TTempFile::PrivateDir())); }

// Deletes the handed file when the adoption ends, however it ends: the image is ours now.
struct TRemoveOnExit {
    QString Path;
    ~TRemoveOnExit() { QFile::remove(Path); }
};
} // namespace

TTempFile TImportHandoff::Create()
{
    TTempFile image = TTempFile::CreateKeepsake(kLabel);
    // Without a usable private folder the file lands in the shared temporary folder, where
    // the new instance would rightly refuse it.
    if (!IsHandedImage(QString::fromStdString(image.Name())))
        throw std::runtime_error("the private temporary folder cannot be used");
    return image;
}

bool TImportHandoff::Hand(TTempFile image, uint32_t start, const QString &program)
{
    const QString path = QString::fromStdString(image.Name());
    image.Keep();
    image.Handle().Close();
    const QString startText = QString::number(start, 16).toUpper();
    const QStringList environment{QString::fromLatin1(kImageVariable) + QLatin1Char('=') + path,
                                  QString::fromLatin1(kStartVariable) + QLatin1Char('=') + startText};
    if (TUiServices::Instance().StartProgramWith(program, {}, environment))
        return true;
    QFile::remove(path);
    return false;
}

TImportHandoff::THanded TImportHandoff::TakeFromEnvironment()
{
    const QString path = qEnvironmentVariable(kImageVariable);
    const QString start = qEnvironmentVariable(kStartVariable);
    qunsetenv(kImageVariable);
    qunsetenv(kStartVariable);
    THanded handed;
    bool ok = false;
    const uint value = start.toUInt(&ok, 16);
    if (!path.isEmpty() && ok && IsHandedImage(path)) {
        handed.Path = path;
        handed.Start = value;
    }
    return handed;
}

bool TImportHandoff::IsHandedImage(const QString &path)
{
    static const QRegularExpression name(QStringLiteral("^import\\.[0-9A-F]{8}\\.orig$"));
    const QFileInfo file(path);
    if (!file.isAbsolute() || file.isSymLink() || !file.isFile() || !name.match(file.fileName()).hasMatch())
        return false;
    // The folder itself, not just its spelling: a link elsewhere named like it does not pass.
    const QFileInfo folder(file.absolutePath()), priv(PrivateDir());
    return !folder.isSymLink() && folder.exists() && folder == priv &&
           folder.canonicalFilePath() == priv.canonicalFilePath();
}

TTempFile TImportHandoff::Adopt(const QString &path)
{
    if (!IsHandedImage(path))
        throw std::runtime_error("not an image handed by an import");
    TRemoveOnExit remove{path};
    const TFileHandle handed = TFileHandle::OpenRead(path.toStdString());
    TTempFile copy = TTempFile::Create();
    TFileCopy::Copy(handed, 0, copy.Handle(), 0, handed.Length());
    return copy;
}

int TImportHandoff::RemoveForgotten()
{
    const QDateTime dayAgo = QDateTime::currentDateTimeUtc().addDays(-1);
    int removed = 0;
    const QFileInfoList files = QDir(PrivateDir()).entryInfoList({QStringLiteral("import.*.orig")}, QDir::Files);
    for (const QFileInfo &file : files)
        if (file.lastModified().toUTC() < dayAgo && IsHandedImage(file.absoluteFilePath()) &&
            QFile::remove(file.absoluteFilePath()))
            ++removed;
    return removed;
}
