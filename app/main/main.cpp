// Hexcavator: start-up. The main window opens the files named on the command line once it is
// shown and painted.

#include "TCommandLineFiles.h"
#include "THexApplication.h"
#include "TImportHandoff.h"
#include "TTempFile.h"
#include "TfrmMain.h"

int main(int argc, char **argv)
{
    const QStringList files = TCommandLineFiles::FromArgv(argc, argv);
    // Taken out of the environment before anything can start another instance.
    const TImportHandoff::THanded imported = TImportHandoff::TakeFromEnvironment();
    // Qt sees no argument: all of them are the user's files.
    int qtArgc = 1;
    THexApplication::PrepareJapaneseLocale();
    THexApplication app(qtArgc, argv);
    // Named working copies of instances that died (only where unnamed files are not offered).
    TTempFile::RemoveStale();
    // Imported images that no new instance took.
    TImportHandoff::RemoveForgotten();
    TfrmMain frmMain;
    frmMain.ShowThenOpen(files, imported);
    return app.exec();
}
