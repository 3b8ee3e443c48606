// hexbench-instance: a running instance as the instance rows see it, and nothing else: a
// registry in $XDG_RUNTIME_DIR/hexcavator, answering from its event loop. Prints "ready"
// once it listens; ends when stdin closes.

#include "TInstanceRegistry.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <cstdio>
#include <unistd.h>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    TInstanceRegistry registry;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buf[64];
        if (::read(STDIN_FILENO, buf, sizeof buf) <= 0) {
            input.setEnabled(false);
            app.quit();
        }
    });
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}
