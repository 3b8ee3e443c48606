#include "TRuntimeFolder.h"

#include "TTempFile.h"

#include <QDir>
#include <QStringList>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

TRuntimeFolder::TRuntimeFolder()
{
    std::string dir = TTempFile::TempDir() + "/hx-runtime-XXXXXX";
    if (!::mkdtemp(dir.data()))
        throw std::runtime_error("mkdtemp " + dir);
    FPath = QString::fromStdString(dir);
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
