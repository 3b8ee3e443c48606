#include "TRuntimeFolder.h"

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <filesystem>
#include <stdexcept>

TRuntimeFolder::TRuntimeFolder()
{
    // Private to the user (0700 on POSIX), removed by the destructor below.
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/hx-runtime-XXXXXX"));
    if (!dir.isValid())
        throw std::runtime_error("no scratch folder: " + dir.errorString().toStdString());
    dir.setAutoRemove(false);
    FPath = dir.path();
}

TRuntimeFolder::~TRuntimeFolder()
{
    std::error_code ec;
    // A test may have taken the folder's permissions away; the owner gets them back first.
    std::filesystem::permissions(Registry().toStdString(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(FPath.toStdString(), ec);
}

QStringList TRuntimeFolder::SocketFiles() const
{
    QStringList out;
    for (const QString &name : QDir(Registry()).entryList({QStringLiteral("*.hxi")}, QDir::System | QDir::Files))
        out << Registry() + QLatin1Char('/') + name;
    return out;
}
