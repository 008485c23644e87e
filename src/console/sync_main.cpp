// qlok-sync: the clock set from Daytime servers, without a window, for cron, systemd timers and
// scripts.
#include <QCoreApplication>
#include <string>
#include <utility>

#include "console/console_front_end.h"
#include "console/sync_command.h"

int main(int argc, char** argv) {
    return qlok::console::RunSyncCommand(argc, argv, [&](std::string server, bool once) {
        QCoreApplication app(argc, argv);
        qlok::console::ConsoleFrontEnd frontEnd(std::move(server), once);
        return frontEnd.Run();
    });
}
