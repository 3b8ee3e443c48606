// Hexcavator: start-up. The main window opens the files named on the command line.

#include "TFileCommands.h"
#include "THexApplication.h"
#include "TTempFile.h"
#include "TfrmMain.h"

#include <QFileInfo>

int main(int argc, char **argv)
{
    THexApplication app(argc, argv);
    // Named working copies of instances that died (only where unnamed files are not offered).
    TTempFile::RemoveStale();
    TfrmMain frmMain;
    frmMain.show();
    for (const QString &arg : app.arguments().mid(1))
        frmMain.Files().OpenFile(QFileInfo(arg).absoluteFilePath());
    return app.exec();
}
