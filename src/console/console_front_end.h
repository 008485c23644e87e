// qlok-sync's front end: the window logic on controls that draw nothing, its activity lines on
// standard output, and Qt's event loop for the socket and the clock service.
#pragma once

#include <string>

#include "app/qlokfrm.h"
#include "console/headless.h"
#include "console/sync_command.h"
#include "linux/qt_socket.h"
#include "linux/timedate_clock.h"
#include "posix/posix_services.h"
#include "sync/unattended_run.h"

namespace qlok::console {

class ConsoleFrontEnd {
  public:
    // serverArgument picks the server (the first to try) as the window's command line does;
    // once: that server alone, with no second opinion. Needs a QCoreApplication.
    ConsoleFrontEnd(std::string serverArgument, bool once);
    ConsoleFrontEnd(const ConsoleFrontEnd&) = delete;
    ConsoleFrontEnd& operator=(const ConsoleFrontEnd&) = delete;

    // Loads the window, starts the run and runs the event loop until it has ended: 0 when the
    // clock was in step or was set, 1 when it was not set.
    int Run();

  private:
    bool Finished() const {
        return once_ ? form_.Outcome() != SyncOutcome::Running : run_.Finished();
    }
    // The loop ends with the run; never while the clock is being set, as quitting would end the
    // wait for the answer too.
    void Ended();

    HeadlessControls controls_;
    posix::PosixClock posixClock_;
    qt::QtSocket socket_;
    qt::TimedateClock clock_{posixClock_, false};  // nobody to ask for a password
    posix::PosixRegional regional_;
    posix::PosixFileSystem files_;
    StdoutLog log_;
    qt::QtOneShotTimer requestDelay_;
    qt::QtOneShotTimer wakeDelay_;  // no sleep is watched here
    qt::QtOneShotTimer runNext_;
    qt::QtOneShotTimer runLimit_;
    Platform platform_;
    QLOKfrm form_;
    UnattendedRun run_{form_, runNext_, runLimit_};
    std::string serverArgument_;
    bool once_;
    bool looping_ = false;
};

}  // namespace qlok::console
