// The program's command line: the arguments a shell registration or another instance puts
// together (TCommandLine) and the "/SE" list file of a file manager's action. The input is
// the list file; its lines are also taken as arguments.
#include "FuzzCheck.h"
#include "TCommandLine.h"

#include <QByteArray>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    const QStringList paths = TCommandLine::ListFilePaths(bytes);
    for (const QString &p : paths) {
        FUZZ_CHECK(!p.isEmpty());
        FUZZ_CHECK(!p.contains(QLatin1Char('\n')));
    }
    // One path a line: the list written out again reads the same.
    FUZZ_CHECK(TCommandLine::ListFilePaths(paths.join(QStringLiteral("\r\n")).toUtf8() + "\r\n") == paths);

    // A path handed to another instance is never taken for the switch.
    for (const QString &p : paths)
        FUZZ_CHECK(!TCommandLine::IsListSwitch(TCommandLine::ArgumentFor(p)));

    // Quoted, the paths come back as the arguments of a command line, behind its program.
    QString line = QStringLiteral("\"/usr/bin/hex cavator\"");
    QStringList expected;
    for (const QString &p : paths)
        if (!p.contains(QLatin1Char('"'))) {
            line += QStringLiteral(" \"") + p + QLatin1Char('"');
            expected << p;
        }
    const TCommandLine::TSplit split = TCommandLine::SplitCommandLine(line);
    FUZZ_CHECK(split.Program == QStringLiteral("/usr/bin/hex cavator"));
    FUZZ_CHECK(TCommandLine::SplitArguments(split.Parameters) == expected);

    // Whatever the text: a quoted program keeps no quote, an unquoted one ends at a blank.
    const QString text = QString::fromUtf8(bytes).trimmed();
    const TCommandLine::TSplit any = TCommandLine::SplitCommandLine(text);
    if (text.startsWith(QLatin1Char('"')))
        FUZZ_CHECK(!any.Program.contains(QLatin1Char('"')));
    else if (!any.Parameters.isEmpty())
        FUZZ_CHECK(!any.Program.contains(QLatin1Char(' ')));
    return 0;
}
