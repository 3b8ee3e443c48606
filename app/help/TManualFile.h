#pragma once
// The Japanese user guide: HTML pages made from docs/manual when the program is built, opened
// at their table of contents (index.html) in the desktop's browser. Beside the program in a
// build folder or an unpacked Windows zip (manual/); under share/doc/hexcavator/manual of the
// prefix once installed. A missing guide or a desktop without a browser is told in a message
// naming the file, instead of nothing happening.
//
// Who calls: the help commands (目次, F1).

#include <QString>

class TBusyState;

class TManualFile {
public:
    // The first index.html that exists of: <program folder>/manual, then
    // <prefix>/share/doc/hexcavator/manual (the prefix being the program folder's parent);
    // the installed one when neither exists. Empty programDir: the running program's.
    static QString Path(const QString &programDir = QString());
    // Opens it; what goes wrong, the busy state's message box says.
    static void Open(TBusyState &busy, const QString &programDir = QString());
};
