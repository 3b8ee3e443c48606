#include "BenchApp.h"

#include <QApplication>

void TBenchApp::Ensure()
{
    if (QApplication::instance())
        return;
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "hexbench";
    static char *argv[] = {name, nullptr};
    new QApplication(argc, argv);
}
