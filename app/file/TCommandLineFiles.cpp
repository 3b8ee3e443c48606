#include "TCommandLineFiles.h"

#include "TCommandLine.h"
#include "TFileCommands.h"
#include "TProgramArgs.h"
#include "TRecentFiles.h"
#include "TShellPaths.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {
void OpenList(TFileCommands &files, const QString &listFile)
{
    QFile f(listFile);
    if (!f.open(QIODevice::ReadOnly))
        return;
    // A list is written by a file manager's action; anything very long is not one.
    for (const QString &path : TCommandLine::ListFilePaths(f.read(16 << 20)))
        if (!files.OpenFile(path, true))
            return;
}
} // namespace

QStringList TCommandLineFiles::FromArgv(int argc, char **argv)
{
    QStringList out;
    for (const std::string &arg : TProgramArgs::Get(argc, argv))
        out << QString::fromStdString(arg);
    return out;
}

void TCommandLineFiles::ShowThenOpen(QWidget &main, TFileCommands &files, const QStringList &arguments,
                                     const std::function<void()> &first)
{
    main.show();
    // The window can be painted only once the window system has exposed it, which comes
    // from the event loop some time after show(). Wait for that, but not forever: a window
    // that is never exposed (minimised at start, no display) still opens its files.
    auto *wait = new QTimer(&main);
    QElapsedTimer since;
    since.start();
    QObject::connect(wait, &QTimer::timeout, &main, [&main, &files, arguments, first, wait, since] {
        if (!(main.windowHandle() && main.windowHandle()->isExposed()) && since.elapsed() < 2000)
            return;
        wait->stop();
        wait->deleteLater();
        main.repaint();
        if (first)
            first();
        OpenCommandLineFiles(files, arguments);
    });
    wait->start(10);
}

void TCommandLineFiles::OpenCommandLineFiles(TFileCommands &files, const QStringList &arguments)
{
    if (arguments.isEmpty())
        return;
    for (int i = 0; i < arguments.size(); ++i) {
        if (TCommandLine::IsListSwitch(arguments[i]) && i + 1 < arguments.size()) {
            OpenList(files, arguments[++i]);
            continue;
        }
        const std::string resolved = TShellPaths::ResolveShortcut(arguments[i].toStdString());
        const std::string path = TShellPaths::ExpandLongPath(resolved);
        if (!path.empty())
            files.OpenFile(QString::fromStdString(path));
    }
    files.Recent().LoadRecentFiles();
}
