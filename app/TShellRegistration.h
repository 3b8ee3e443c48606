#pragma once
// The program's entry in the file managers' context menus. On this platform "registered"
// means the freedesktop files under ~/.local/share exist: a desktop entry that opens files
// with the program and the context-menu actions of Dolphin, Nautilus and Nemo.
//
// Not written yet: until it is, nothing is ever registered and both changes do nothing, so
// the options dialog always shows its box unticked.

class TShellRegistration {
public:
    static bool IsShellExtensionRegistered();
    static void RegisterShellExtension();
    static void UnregisterShellExtension();
};
