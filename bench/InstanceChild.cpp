// hexbench-instance: a running instance as the instance rows see it, and nothing else: a
// registry in $XDG_RUNTIME_DIR/hexcavator, answering from its event loop. Given a block name,
// it also holds that shared search block and, on every search-text notice, reads the record
// and prints "text " + the text, as an instance's search state would take it. Prints "ready"
// once it listens; ends when stdin closes.

#include "TInstanceRegistry.h"
#include "TVxSearchRecord.h"
#include "TVxShareMemStream.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <cstdio>
#include <memory>
#include <unistd.h>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    TInstanceRegistry registry;
    std::unique_ptr<TVxShareMemStream> block;
    if (argc > 1)
        block = std::make_unique<TVxShareMemStream>(argv[1], TVxSearchRecord::kSize);
    QObject::connect(&registry, &TInstanceRegistry::SearchTextChanged, [&] {
        if (!block)
            return;
        std::printf("text %s\n", TVxSearchRecord::Load(*block).Text.c_str());
        std::fflush(stdout);
    });
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
