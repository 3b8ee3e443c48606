#pragma once
// The help command: the README that comes with the program, opened with the desktop's
// program for it. Beside the program in a build folder; under share/doc/hexcavator of the
// prefix once installed. When the desktop has nothing to open it with, the user is told
// where the file is instead of nothing happening.
//
// Who calls: the help commands (作者ホームページ).

#include <QString>

class TBusyState;

class THelpFile {
public:
    // The first README that exists of: the program's folder, then <prefix>/share/doc/hexcavator
    // (the prefix being the program folder's parent). Empty programDir: the running program's.
    static QString Path(const QString &programDir = QString());
    // Opens it; what goes wrong, the busy state's message box says.
    static void Open(TBusyState &busy, const QString &programDir = QString());
};
