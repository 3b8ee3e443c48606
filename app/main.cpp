// Hexcavator: start-up. The main window opens the files named on the command line.

#include "TCommandLineFiles.h"
#include "THexApplication.h"
#include "TTempFile.h"
#include "TfrmMain.h"

int main(int argc, char **argv)
{
    THexApplication app(argc, argv);
    // Named working copies of instances that died (only where unnamed files are not offered).
    TTempFile::RemoveStale();
    TfrmMain frmMain;
    frmMain.show();
    TCommandLineFiles::OpenCommandLineFiles(frmMain, app.arguments().mid(1));
    return app.exec();
}
