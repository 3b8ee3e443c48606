#include "TShellRegistration.h"

#include "TDesktopIntegration.h"

#include <QCoreApplication>
#include <QFile>

bool TShellRegistration::IsShellExtensionRegistered() { return TDesktopIntegration::IsRegistered(); }

void TShellRegistration::RegisterShellExtension()
{
    TDesktopIntegration::Register(QCoreApplication::applicationFilePath().toStdString());
}

void TShellRegistration::UnregisterShellExtension() { TDesktopIntegration::Unregister(); }
