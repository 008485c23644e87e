// qlok-sync: the clock set from Daytime servers, without a window, for cron, systemd timers and
// scripts.
#include <fcntl.h>

#include <QCoreApplication>
#include <cerrno>
#include <cstdlib>
#include <string>
#include <utility>

#include "console/console_front_end.h"
#include "console/sync_command.h"

namespace {

// Puts /dev/null on standard input, output or error when closed (`qlok-sync >&-`, some cron
// set-ups): else the next descriptor opened, the toolkit's own, would take its number, and the
// activity lines would be written into it.
void OpenClosedStandardDescriptors() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) < 0 && errno == EBADF) {
            // The lowest free number, so this one.
            if (::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY) < 0) {
                std::_Exit(2);
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    OpenClosedStandardDescriptors();
    return qlok::console::RunSyncCommand(argc, argv, [&](std::string server, bool once) {
        QCoreApplication app(argc, argv);
        qlok::console::ConsoleFrontEnd frontEnd(std::move(server), once);
        return frontEnd.Run();
    });
}
