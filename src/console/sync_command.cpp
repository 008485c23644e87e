#include "console/sync_command.h"

#include <cctype>
#include <cstdio>
#include <vector>

namespace qlok::console {

namespace {

constexpr const char* kUsage =
    "Usage: qlok-sync [N]\n"
    "       qlok-sync --help | --version\n"
    "\n"
    "Sets the clock once from a Daytime server (TCP port 13), without a window.\n"
    "N picks server N of \"QLOK servers.ini\" in the working directory (1 is the first;\n"
    "a number out of range, or other text, picks the first); without N, the first.\n"
    "Each step is printed as it happens; a correction is recorded in QLOK.log there.\n"
    "\n"
    "Exit status: 0 the clock was in step or was set; 1 it was not set (bad reply,\n"
    "socket error, time-out, refused); 2 usage error.\n";

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

int RunSyncCommand(int argc, char** argv, const std::function<int(std::string server)>& sync) {
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (arguments.size() == 1 && arguments[0] == "--version") {
        std::printf("qlok-sync %s\n", QLOK_VERSION);
        return 0;
    }
    if (arguments.size() > 1 || (arguments.size() == 1 && IsOption(arguments[0]))) {
        std::fprintf(stderr, "qlok-sync: %s\nTry 'qlok-sync --help'.\n",
                     arguments.size() > 1 ? "one server number at most" : "unknown option");
        return 2;
    }
    return sync(arguments.empty() ? "1" : std::string(arguments[0]));
}

}  // namespace qlok::console
