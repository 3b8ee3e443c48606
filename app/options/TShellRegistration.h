#pragma once
// The program's entry in the file managers' context menus, as the options dialog's box
// "シェルのコンテキストメニューに登録(&S)" sets it. On this platform "registered" means the
// freedesktop files of TDesktopIntegration exist: a desktop entry that opens files with the
// program and the context-menu actions of Dolphin, Nautilus and Nemo, which start this very
// program file. Failures are silent; the box shows the true state the next time.
//
// Who calls: the options dialog's check box "シェルのコンテキストメニューに登録".

class TShellRegistration {
public:
    static bool IsShellExtensionRegistered();
    static void RegisterShellExtension();
    static void UnregisterShellExtension();
};
