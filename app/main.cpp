// Hexcavator: start-up. The main window opens the files named on the command line once it is
// shown.

#include "TCommandLineFiles.h"
#include "THexApplication.h"
#include "TTempFile.h"
#include "TfrmMain.h"

#include <QTimer>

int main(int argc, char **argv)
{
    const QStringList files = TCommandLineFiles::FromArgv(argc, argv);
    // Qt sees no argument: all of them are the user's files.
    int qtArgc = 1;
    THexApplication app(qtArgc, argv);
    // Named working copies of instances that died (only where unnamed files are not offered).
    TTempFile::RemoveStale();
    TfrmMain frmMain;
    frmMain.show();
    // The window is painted and answers before a file named here is loaded: the load runs
    // from the event loop, with its progress in that window.
    QTimer::singleShot(0, &frmMain, [&frmMain, files] {
        frmMain.repaint();
        TCommandLineFiles::OpenCommandLineFiles(frmMain, files);
    });
    return app.exec();
}
