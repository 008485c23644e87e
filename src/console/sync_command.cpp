#include "console/sync_command.h"

#include <cctype>
#include <cstdio>
#include <vector>

namespace qlok::console {

namespace {

constexpr const char* kUsage =
    "Usage: qlok-sync [--once] [N]\n"
    "       qlok-sync --help | --version\n"
    "\n"
    "Sets the clock from a Daytime server (TCP port 13), without a window.\n"
    "The servers of \"QLOK servers.ini\" in the working directory are tried in list order,\n"
    "server N first when given (1 is the first; a number out of range, or other text,\n"
    "picks the first), until one finds the clock in step or sets it. A step of more than\n"
    "a day is made only when the next server agrees within 2 s.\n"
    "Each server has 30 s, the whole run at most 2 minutes.\n"
    "--once asks server N (or the first) alone, with no second server to agree.\n"
    "Each step is printed as it happens; a correction is recorded in QLOK.log there.\n"
    "\n"
    "Exit status: 0 the clock was in step or was set; 1 it was not set (bad replies,\n"
    "socket errors, time-outs, servers that disagree, refused); 2 usage error.\n";

// An argument that looks like an option; "-1" or "-.5" is a number, which the window takes.
bool IsOption(std::string_view argument) {
    return argument.size() > 1 && argument[0] == '-' &&
           std::isdigit(static_cast<unsigned char>(argument[1])) == 0 && argument[1] != '.' &&
           argument[1] != ',';
}

}  // namespace

void StdoutLog::Line(std::string_view line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

int ExitStatus(SyncOutcome outcome) {
    return outcome == SyncOutcome::InStep || outcome == SyncOutcome::Set ? 0 : 1;
}

int RunSyncCommand(int argc, char** argv,
                   const std::function<int(std::string server, bool once)>& sync) {
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (arguments.size() == 1 && arguments[0] == "--version") {
        std::printf("qlok-sync %s\n", QLOK_VERSION);
        return 0;
    }
    const bool once = !arguments.empty() && arguments[0] == "--once";
    const std::vector<std::string_view> servers(arguments.begin() + (once ? 1 : 0),
                                                arguments.end());
    if (servers.size() > 1 || (servers.size() == 1 && IsOption(servers[0]))) {
        std::fprintf(stderr, "qlok-sync: %s\nTry 'qlok-sync --help'.\n",
                     servers.size() > 1 ? "one server number at most" : "unknown option");
        return 2;
    }
    if (servers.size() == 1 && servers[0].empty()) {
        // Most often a variable that a scheduler's command line left unset.
        std::fputs("qlok-sync: the server number is empty\nTry 'qlok-sync --help'.\n", stderr);
        return 2;
    }
    if (servers.empty()) {
        return sync(once ? "1" : "", once);
    }
    return sync(std::string(servers[0]), once);
}

}  // namespace qlok::console
