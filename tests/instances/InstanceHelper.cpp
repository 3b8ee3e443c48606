// instance_helper: one side of the instance tests in a process of its own, driven through
// stdin and reporting on stdout one line at a time.
//
//   instance_helper registry
//       A registry instance in $XDG_RUNTIME_DIR/hexcavator, nothing else. Prints
//       "ready <socket>", then answers the commands count, list, post <notice>, prev,
//       activate, quit; prints "notice <name>" for every notice and "dropped <why>" for
//       every refused connection. Ends when stdin closes.
//   instance_helper connect-as <uid> <socket> <hex bytes>            (POSIX)
//       Becomes user <uid>, connects to <socket>, writes the bytes and waits for the other
//       end to hang up. Exit status 0: closed by the other end; 3: could not connect.
//   instance_helper shm-write <name> <size> <offset> <text>
//       Opens the shared block, writes <text> at <offset>, prints "written", then holds the
//       block until stdin closes.
//   instance_helper shm-read <name> <size>
//       Opens the shared block, prints "data <hex of all bytes>", holds it until stdin closes.
//   instance_helper term-break                                      (Windows)
//       On a console of its own, catches the console's control events (TTermSignals), sends
//       CTRL_BREAK to its own process group (it must lead one) and prints "took <Take()>"
//       once the event is set, or "none" after 5 s. Without the handler the break would end
//       it on the spot.

#include "TEditorNotice.h"
#include "TInstanceRegistry.h"
#include "TVxShareMemStream.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <thread>
#ifdef _WIN32
#include "TTermSignals.h"
#include <windows.h>
#else
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

namespace {
void Say(const QString &line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

const char *NameOf(TEditorNotice n)
{
    switch (n) {
    case TEditorNotice::SearchTextChanged:
        return "SearchTextChanged";
    case TEditorNotice::FileOpened:
        return "FileOpened";
    case TEditorNotice::Close:
        return "Close";
    case TEditorNotice::Activate:
        return "Activate";
    }
    return "?";
}

bool NoticeNamed(const QString &name, TEditorNotice &out)
{
    for (TEditorNotice n : {TEditorNotice::SearchTextChanged, TEditorNotice::FileOpened, TEditorNotice::Close,
                            TEditorNotice::Activate})
        if (name == QLatin1String(NameOf(n))) {
            out = n;
            return true;
        }
    return false;
}

void WaitForStdinEnd()
{
    std::string line;
    while (std::getline(std::cin, line)) {
    }
}

int RunRegistry(QCoreApplication &app)
{
    TInstanceRegistry registry;
    QObject::connect(&registry, &TInstanceRegistry::SearchTextChanged, [] { Say("notice SearchTextChanged"); });
    QObject::connect(&registry, &TInstanceRegistry::FileOpened, [] { Say("notice FileOpened"); });
    QObject::connect(&registry, &TInstanceRegistry::CloseRequested, [] { Say("notice Close"); });
    QObject::connect(&registry, &TInstanceRegistry::ActivateRequested, [] { Say("notice Activate"); });
    QObject::connect(&registry, &TInstanceRegistry::ConnectionDropped, [](const QString &why) { Say("dropped " + why); });

    auto handle = [&](const QString &line) {
        const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const QString cmd = words.value(0);
        TEditorNotice notice;
        if (cmd == "count") {
            Say(QStringLiteral("count %1").arg(registry.EditorInstanceCount()));
        } else if (cmd == "list") {
            QStringList paths;
            for (const auto &e : registry.FindEditorWindows())
                paths << e.Path;
            Say("list " + paths.join(QLatin1Char(' ')));
        } else if (cmd == "post" && NoticeNamed(words.value(1), notice)) {
            registry.PostToEditors(notice);
            Say("posted");
        } else if (cmd == "prev") {
            registry.ActivatePreviousInstance();
            Say("done prev");
        } else if (cmd == "activate") {
            registry.NoteActivated();
            Say("done activate");
        } else if (cmd == "quit") {
            app.quit();
        } else {
            Say("unknown " + line);
        }
    };
    // Lines from stdin, handled in the event loop; its end quits. A thread, as no notifier
    // watches a pipe on every system. It may still be waiting when the loop ends: see main.
    std::thread([&app, handle] {
        std::string line;
        while (std::getline(std::cin, line)) {
            const QString text = QString::fromStdString(line).trimmed();
            QMetaObject::invokeMethod(&app, [handle, text] { handle(text); }, Qt::QueuedConnection);
        }
        QMetaObject::invokeMethod(&app, &QCoreApplication::quit, Qt::QueuedConnection);
    }).detach();
    Say("ready " + registry.OwnPath());
    return app.exec();
}

#ifndef _WIN32
int ConnectAs(const char *uidText, const char *path, const char *hex)
{
    const uid_t uid = static_cast<uid_t>(std::strtoul(uidText, nullptr, 10));
    if (::setgid(uid) != 0 || ::setuid(uid) != 0)
        return 4;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr = {};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, path, sizeof addr.sun_path - 1);
    if (fd < 0 || ::connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0)
        return 3;
    std::string bytes;
    for (size_t i = 0; hex[i] && hex[i + 1]; i += 2)
        bytes.push_back(static_cast<char>(std::stoi(std::string(hex + i, 2), nullptr, 16)));
    (void)!::write(fd, bytes.data(), bytes.size());
    // The other end hangs up (end of file) or resets the connection.
    char buf[64];
    while (::read(fd, buf, sizeof buf) > 0) {
    }
    ::close(fd);
    return 0;
}
#else
int TermBreak()
{
    // A console of its own (a test process may have none), shared with nobody.
    ::FreeConsole();
    if (!::AllocConsole()) {
        Say(QStringLiteral("cannot send (no console, error %1)").arg(::GetLastError()));
        return 1;
    }
    TTermSignals requests;
    if (!::GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, ::GetCurrentProcessId())) {
        Say(QStringLiteral("cannot send (error %1)").arg(::GetLastError()));
        return 1;
    }
    if (::WaitForSingleObject(requests.Fd(), 5000) != WAIT_OBJECT_0) {
        Say("none");
        return 0;
    }
    Say(QStringLiteral("took %1").arg(requests.Take()));
    return 0;
}
#endif

int ShmWrite(const char *name, const char *size, const char *offset, const char *text)
{
    TVxShareMemStream stream(name, std::atoi(size));
    stream.SetPosition(std::atoi(offset));
    stream.Write(text, static_cast<int32_t>(std::strlen(text)));
    Say("written");
    WaitForStdinEnd();
    return 0;
}

int ShmRead(const char *name, const char *size)
{
    TVxShareMemStream stream(name, std::atoi(size));
    QByteArray bytes(stream.Size(), '\0');
    stream.Read(bytes.data(), stream.Size());
    Say("data " + QString::fromLatin1(bytes.toHex()));
    WaitForStdinEnd();
    return 0;
}
} // namespace

int main(int argc, char **argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    try {
#ifndef _WIN32
        if (mode == "connect-as" && argc == 5)
            return ConnectAs(argv[2], argv[3], argv[4]);
#else
        if (mode == "term-break")
            return TermBreak();
#endif
        if (mode == "shm-write" && argc == 6)
            return ShmWrite(argv[2], argv[3], argv[4], argv[5]);
        if (mode == "shm-read" && argc == 4)
            return ShmRead(argv[2], argv[3]);
        if (mode == "registry") {
            QCoreApplication app(argc, argv);
            const int rc = RunRegistry(app);
            // The registry has left; the stdin thread must not post to an application that
            // is gone, so the process ends here.
            std::fflush(stdout);
            std::_Exit(rc);
        }
    } catch (const std::exception &e) {
        Say(QStringLiteral("error ") + QString::fromUtf8(e.what()));
        return 1;
    }
    std::fprintf(stderr, "usage: see the head of InstanceHelper.cpp\n");
    return 2;
}
