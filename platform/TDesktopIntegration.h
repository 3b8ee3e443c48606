#pragma once
// The program's entries in the desktop's "open with" lists and file-manager context menus.
//
// Windows: one verb on every file's context menu in Explorer, in the user's own part of the
// registry (no administrator needed):
//   HKCU\Software\Classes\*\shell\hexcavator           (default) and MUIVerb: the menu
//                                                        text; Icon: the program's icon
//   HKCU\Software\Classes\*\shell\hexcavator\command   "C:\...\hexcavator.exe" "%1"
// Explorer starts the command once per chosen file (up to 15, its limit for such verbs), so
// several files give one window each.
// Registered means the command key exists; Register writes both keys afresh, Unregister
// deletes the tree. DataHome is the verb key's full name, for messages.
//
// POSIX: freedesktop files in the user's data folder ($XDG_DATA_HOME, else ~/.local/share).
//
//   applications/hexcavator-open.desktop          opens any file with the program
//   kio/servicemenus/hexcavator.desktop            Dolphin's context menu
//   nautilus/scripts/へくすかばっと。で開く        Nautilus' scripts menu
//   nemo/actions/hexcavator.nemo_action            Nemo's context menu
//   hexcavator/open-selection.sh                   what the menus run
//
// Every menu entry reads "へくすかばっと。で開く" and runs open-selection.sh with the chosen
// files; it writes them into a list file, one path per line, and starts the program with
// "/SE" and that file, so several files give one window each (names holding a line break,
// which a list cannot carry, are passed as plain arguments instead).
//
// Registered means the desktop entry exists. Register writes every file afresh (a file
// edited or removed by hand comes back); Unregister deletes them.
//
// On both systems failures are silent, as a menu entry the desktop cannot take is no reason
// to bother the user: IsRegistered then tells the truth the next time it is asked.

#include <string>

class TDesktopIntegration {
public:
    static std::string DataHome();
    static bool IsRegistered();
    // `program`: the absolute path of the program to start.
    static void Register(const std::string &program);
    static void Unregister();

    static constexpr const char *kMenuText = "へくすかばっと。で開く";
};
