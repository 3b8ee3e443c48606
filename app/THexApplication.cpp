#include "THexApplication.h"

#include "TAppUtils.h"
#include "TVxDocumentHooks.h"

#include <exception>

THexApplication::THexApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("hexcavator"));
}

bool THexApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        while (TAppUtils::BusyDepth() > 0)
            TAppUtils::EndBusy();
        TAppUtils::ShowAppMessage(QString::fromLocal8Bit(e.what()), mbIconStop);
    }
    return false;
}
