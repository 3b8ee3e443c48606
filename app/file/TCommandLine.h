#pragma once
// Splitting a command line into the program and its parameters, the way a shell would take
// "C:\path with blanks\prog" args: a leading quoted part, or everything up to the first blank;
// and the arguments that hand files to a new instance.
//
// Who calls: the file commands (a new window, a file for a new instance), the command-line
// files, the options dialog's shell registration.

#include <QByteArray>
#include <QString>
#include <QStringList>

class TCommandLine {
public:
    struct TSplit {
        QString Program;
        QString Parameters;
    };
    static TSplit SplitCommandLine(const QString &commandLine);
    // The parameters as separate arguments: blanks separate, double quotes group.
    static QStringList SplitArguments(const QString &parameters);
    // Starts the program of a command line; 0 on success (also for an empty line), else an
    // error code (ENOENT style). Through TUiServices, so tests see what would be started.
    static int RunCommandLine(const QString &commandLine);
    // Whether an argument is the switch "/SE" (any letter case) that names a list file.
    static bool IsListSwitch(const QString &arg);
    // The paths of a "/SE" list file's bytes: one UTF-8 path a line, lines ending in LF or
    // CR LF, empty lines skipped. Each is opened as it stands.
    static QStringList ListFilePaths(const QByteArray &text);
    // The one argument that hands an absolute path to a new instance: the path itself, but
    // never in a form that instance would take for the switch.
    static QString ArgumentFor(const QString &absolutePath);
};
