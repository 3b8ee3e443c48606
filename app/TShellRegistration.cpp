#include "TShellRegistration.h"

bool TShellRegistration::IsShellExtensionRegistered() { return false; }

void TShellRegistration::RegisterShellExtension() {}

void TShellRegistration::UnregisterShellExtension() {}
