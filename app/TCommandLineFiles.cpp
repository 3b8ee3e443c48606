#include "TCommandLineFiles.h"

#include "TFileCommands.h"
#include "TRecentFiles.h"
#include "TShellPaths.h"
#include "TfrmMain.h"

#include <QFile>

namespace {
bool IsListSwitch(const QString &arg) { return arg.compare(QStringLiteral("/SE"), Qt::CaseInsensitive) == 0; }

void OpenList(TfrmMain &main, const QString &listFile)
{
    QFile f(listFile);
    if (!f.open(QIODevice::ReadOnly))
        return;
    // A list is written by a file manager's action; anything very long is not one.
    const QByteArray text = f.read(16 << 20);
    for (QByteArray line : text.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        if (!main.Files().OpenFile(QFile::decodeName(line), true))
            return;
    }
}
} // namespace

QString TCommandLineFiles::ArgumentFor(const QString &absolutePath)
{
    return IsListSwitch(absolutePath) ? QStringLiteral("/.") + absolutePath : absolutePath;
}

QStringList TCommandLineFiles::FromArgv(int argc, char **argv)
{
    QStringList out;
    for (int i = 1; i < argc; ++i)
        out << QFile::decodeName(argv[i]);
    return out;
}

void TCommandLineFiles::OpenCommandLineFiles(TfrmMain &main, const QStringList &arguments)
{
    if (arguments.isEmpty())
        return;
    for (int i = 0; i < arguments.size(); ++i) {
        if (IsListSwitch(arguments[i]) && i + 1 < arguments.size()) {
            OpenList(main, arguments[++i]);
            continue;
        }
        const std::string resolved = TShellPaths::ResolveShortcut(QFile::encodeName(arguments[i]).toStdString());
        const std::string path = TShellPaths::ExpandLongPath(resolved);
        if (!path.empty())
            main.Files().OpenFile(QFile::decodeName(path.c_str()));
    }
    main.Recent().LoadRecentFiles();
}
