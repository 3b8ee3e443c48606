#include "TCommandLine.h"

#include "TUiServices.h"

#include <cerrno>

TCommandLine::TSplit TCommandLine::SplitCommandLine(const QString &commandLine)
{
    const QString text = commandLine.trimmed();
    TSplit out;
    if (text.isEmpty())
        return out;
    // Text is UTF-16 here, so no quote or blank can hide inside a double-byte character.
    int end = text.startsWith(QLatin1Char('"')) ? text.indexOf(QLatin1Char('"'), 1) : text.indexOf(QLatin1Char(' '));
    if (end < 0 || end >= text.size() - 1) {
        out.Program = text;
    } else {
        out.Program = text.left(end + (text.startsWith(QLatin1Char('"')) ? 1 : 0));
        out.Parameters = text.mid(out.Program.size()).trimmed();
    }
    if (out.Program.size() >= 2 && out.Program.startsWith(QLatin1Char('"')) && out.Program.endsWith(QLatin1Char('"')))
        out.Program = out.Program.mid(1, out.Program.size() - 2);
    else if (out.Program.startsWith(QLatin1Char('"')))
        out.Program = out.Program.mid(1);
    return out;
}

QStringList TCommandLine::SplitArguments(const QString &parameters)
{
    QStringList args;
    QString cur;
    bool quoted = false, any = false;
    for (QChar c : parameters) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            any = true;
        } else if (c == QLatin1Char(' ') && !quoted) {
            if (any)
                args << cur;
            cur.clear();
            any = false;
        } else {
            cur += c;
            any = true;
        }
    }
    if (any)
        args << cur;
    return args;
}

int TCommandLine::RunCommandLine(const QString &commandLine)
{
    const TSplit split = SplitCommandLine(commandLine);
    if (split.Program.isEmpty())
        return 0;
    return TUiServices::Instance().StartProgram(split.Program, SplitArguments(split.Parameters)) ? 0 : ENOENT;
}

QStringList TCommandLine::ListFilePaths(const QByteArray &text)
{
    QStringList paths;
    for (QByteArray line : text.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty())
            paths << QString::fromUtf8(line);
    }
    return paths;
}

bool TCommandLine::IsListSwitch(const QString &arg) { return arg.compare(QStringLiteral("/SE"), Qt::CaseInsensitive) == 0; }

QString TCommandLine::ArgumentFor(const QString &absolutePath)
{
    return IsListSwitch(absolutePath) ? QStringLiteral("/.") + absolutePath : absolutePath;
}
