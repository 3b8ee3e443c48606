// Hexcavator: start-up. The main window opens the files named on the command line once it is
// shown and painted.

#include "TCommandLineFiles.h"
#include "THexApplication.h"
#include "TTempFile.h"
#include "TfrmMain.h"

int main(int argc, char **argv)
{
    const QStringList files = TCommandLineFiles::FromArgv(argc, argv);
    // Qt sees no argument: all of them are the user's files.
    int qtArgc = 1;
    THexApplication::PrepareJapaneseLocale();
    THexApplication app(qtArgc, argv);
    // Named working copies of instances that died (only where unnamed files are not offered).
    TTempFile::RemoveStale();
    TfrmMain frmMain;
    frmMain.ShowThenOpen(files);
    return app.exec();
}
