// What qlok-sync is on every desktop: its command line, usage, version, the activity lines on
// standard output and the exit status. Each desktop's main supplies only the synchronisation.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "app/qlokfrm.h"
#include "platform/desktop.h"

namespace qlok::console {

// Each line on standard output as it comes, so that a scheduler's log follows the run.
class StdoutLog final : public ActivityLog {
  public:
    void Line(std::string_view line) override;
};

// The exit status of a synchronisation that has ended: 0 when the clock was in step or was
// set, 1 when it was not set.
int ExitStatus(SyncOutcome outcome);

// Reads the command line: --help and --version are answered, a usage error is reported (status
// 2); otherwise sync runs with the server argument ("" for none; with once, "1" for none) and
// once (--once: that server alone), and its status is returned.
int RunSyncCommand(int argc, char** argv,
                   const std::function<int(std::string server, bool once)>& sync);

}  // namespace qlok::console
