#pragma once
// A document that comes with the program, opened with the desktop's program for it: the
// README (作者ホームページ) and the Japanese user guide, HTML pages made from docs/manual when
// the program is built and opened at their table of contents (目次, F1). Each is beside the
// program in a build folder or an unpacked Windows zip, and under share/doc/hexcavator of the
// prefix once installed. A missing file, or a desktop with nothing to open it with, is told
// in a message naming the file instead of nothing happening.
//
// Who calls: the help commands.

#include <QString>

class TBusyState;

class THelpFile {
public:
    static const THelpFile &Readme();
    static const THelpFile &Manual();

    // The first that exists of: the program's folder, then <prefix>/share/doc/hexcavator (the
    // prefix being the program folder's parent); the installed one when neither exists.
    // Empty programDir: the running program's.
    QString Path(const QString &programDir = QString()) const;
    // Opens it; what goes wrong, the busy state's message box says.
    void Open(TBusyState &busy, const QString &programDir = QString()) const;

private:
    THelpFile(const char *relativePath, const char *missing, const char *noViewer)
        : FRelativePath(relativePath), FMissing(missing), FNoViewer(noViewer)
    {
    }

    const char *FRelativePath; // below the program's folder and below share/doc/hexcavator
    const char *FMissing, *FNoViewer;
};
