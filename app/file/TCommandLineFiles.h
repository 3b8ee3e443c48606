#pragma once
// The files named on the command line, opened as the last step of the main window's
// creation: plain paths (a shortcut resolved, the path expanded to its long form) and the
// switch "/SE" (any letter case) followed by a list file of one path per line, each opened
// as it stands. Every file goes through the open rule, so the first opens in this window and
// each further one in a new instance. Errors of a path named directly are shown and the next
// argument follows; a list file that cannot be read, or a failure among its files, ends that
// list quietly. "/SE" in the last place is a file name like any other. Afterwards the
// recent-files list is read again.
//
// Who calls: main() through the main window's ShowThenOpen, with the window's file commands.

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;
class TFileCommands;

class TCommandLineFiles {
public:
    // The program's arguments as the system passed them, before Qt could take any for its
    // own options: every argument is a file (or the switch), so a file named "-reverse" or
    // "-style" opens like any other and changes nothing about the window. On Windows they
    // come from the wide command line (TProgramArgs), not from argv, whose ANSI code page
    // turns a Japanese name into "???".
    static QStringList FromArgv(int argc, char **argv);
    // `arguments` without the program's own name.
    static void OpenCommandLineFiles(TFileCommands &files, const QStringList &arguments);
    // Start-up: shows the window and opens the files from the event loop, once the window
    // is painted, so that it answers and shows the load's progress instead of appearing only
    // after a large file is loaded. `first`, when given, runs just before the files open (a
    // document handed over by another instance).
    static void ShowThenOpen(QWidget &window, TFileCommands &files, const QStringList &arguments,
                             const std::function<void()> &first = {});
};
