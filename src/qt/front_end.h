// The Qt front end put together: the window, every adapter, the Linux services and the logic.
#pragma once

#include <QCoreApplication>
#include <QEventLoop>
#include <string>

#include "app/qlokfrm.h"
#include "linux/qt_socket.h"
#include "linux/sleep_watch.h"
#include "linux/timedate_clock.h"
#include "platform/platform.h"
#include "posix/posix_services.h"
#include "qt/main_window.h"
#include "qt/qt_controls.h"
#include "qt/qt_desktop.h"
#include "qt/qt_list_box.h"

namespace qlok::qt {

// Services a caller may put in place of the real ones (tests keep the real clock untouched).
struct FrontEndOptions {
    SystemClock* clock = nullptr;
    MessageBoxes* messageBoxes = nullptr;
    Shell* shell = nullptr;
};

// The command line as the logic takes it: the arguments after the program's name, one space
// between each.
std::string JoinArguments(int argc, char** argv);

class FrontEnd {
  public:
    // Builds the window (not shown) and wires every event to its handler. Needs a QApplication.
    explicit FrontEnd(std::string commandLine, FrontEndOptions options = {});
    FrontEnd(const FrontEnd&) = delete;
    FrontEnd& operator=(const FrontEnd&) = delete;

    // Runs the load handler, then shows the window.
    void Start();
    // Start, then the event loop until the window is closed; the program's exit code.
    int Run();

    QLOKfrm& Form() { return form_; }
    MainWindow& Widget() { return widget_; }
    QtWindow& Window() { return window_; }
    QtWindowMenu& WindowMenu() { return windowMenu_; }
    QtTrayIcons& Tray() { return tray_; }
    QtSocket& Socket() { return socket_; }
    QtTimer& Timer() { return timer_; }

  private:
    MainWindow widget_;
    QtWindow window_;
    QtComboBox combo1_;
    QtButton command1_;
    QtButton command2_;
    QtButton command3_;
    QtTextBox countDown_;
    QtTimer timer_;
    posix::PosixClock clock_;
    QtSocket socket_;
    TimedateClock timedate_{clock_, true};  // a window may ask the user for the right
    posix::PosixRegional regional_;
    // The window is drawn while the history waits for another program's lock.
    posix::PosixFileSystem files_{[] {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                        QEventLoop::ExcludeSocketNotifiers);
    }};
    QtShell shell_;
    QtMessageBoxes messageBoxes_;
    QtTrayIcons tray_;
    QtWindowMenu windowMenu_;
    QtActivityLog log_;
    QtOneShotTimer requestDelay_;
    QtOneShotTimer wakeDelay_;
    Platform platform_;
    QLOKfrm form_;
    SleepWatch sleepWatch_{[this] { form_.Resumed(); }};
    bool inListClick_ = false;
};

}  // namespace qlok::qt
