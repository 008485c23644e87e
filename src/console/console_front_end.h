// qlok-sync's front end: the window logic on controls that draw nothing, its activity lines on
// standard output, and Qt's event loop for the socket and the clock service.
#pragma once

#include <string>

#include "app/qlokfrm.h"
#include "console/headless.h"
#include "console/sync_command.h"
#include "posix/posix_services.h"
#include "qt/qt_socket.h"
#include "qt/timedate_clock.h"

namespace qlok::console {

class ConsoleFrontEnd {
  public:
    // serverArgument picks the server as the window's command line does. Needs a
    // QCoreApplication.
    explicit ConsoleFrontEnd(std::string serverArgument);
    ~ConsoleFrontEnd();
    ConsoleFrontEnd(const ConsoleFrontEnd&) = delete;
    ConsoleFrontEnd& operator=(const ConsoleFrontEnd&) = delete;

    // Loads the window, which starts the synchronisation, and runs the event loop until it has
    // ended: 0 when the clock was in step or was set, 1 when it was not set.
    int Run();

  private:
    bool Finished() const { return form_.Outcome() != SyncOutcome::Running; }
    // After each event the logic handled: the loop ends with the synchronisation.
    void Handled();

    HeadlessWindow window_;
    HeadlessCombo combo1_;
    HeadlessList list1_;
    HeadlessText command1_{text::kResync};
    HeadlessText command2_{text::kShowClock};
    HeadlessText command3_{text::kRepeat};
    HeadlessText countDown_{text::kCountDownDefault};
    HeadlessTimer timer1_;
    qt::QtSocket socket_;
    posix::PosixClock posixClock_;
    qt::TimedateClock clock_{posixClock_, false};  // nobody to ask for a password
    posix::PosixRegional regional_;
    posix::PosixFileSystem files_;
    HeadlessDesktop desktop_;
    StdoutLog log_;
    Platform platform_;
    QLOKfrm form_;
    bool looping_ = false;
};

}  // namespace qlok::console
