#include "console/console_front_end.h"

#include <QCoreApplication>
#include <cstdio>
#include <utility>

#include "desktop/module_state.h"
#include "desktop/systray.h"

namespace qlok::console {

void StdoutLog::Line(std::string_view line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

ConsoleFrontEnd::ConsoleFrontEnd(std::string serverArgument)
    : socket_(SocketEvents{
          [this] {
              form_.Winsock1_Connect();
              Handled();
          },
          [this](std::int32_t bytesTotal) {
              form_.Winsock1_DataArrival(bytesTotal);
              Handled();
          },
          [this] {
              form_.Winsock1_Close();
              Handled();
          },
          [this](std::int16_t number, const std::string& description) {
              form_.Winsock1_Error(number, description);
              Handled();
          },
      }),
      platform_{window_,    combo1_,  list1_,          command1_, command2_, command3_,
                countDown_, timer1_,  socket_.control, clock_,    regional_, files_,
                desktop_,   desktop_, desktop_,        desktop_,  log_},
      form_(platform_, std::move(serverArgument)) {}

ConsoleFrontEnd::~ConsoleFrontEnd() {
    if (Systray::MainForm == &form_) {
        ResetModuleState();
    }
}

int ConsoleFrontEnd::Run() {
    form_.Form_Load();
    if (!Finished()) {
        looping_ = true;
        QCoreApplication::exec();
        looping_ = false;
    }
    const SyncOutcome outcome = form_.Outcome();
    return outcome == SyncOutcome::InStep || outcome == SyncOutcome::Set ? 0 : 1;
}

void ConsoleFrontEnd::Handled() {
    // Never while the clock is being set: quitting would end the wait for the answer too.
    if (looping_ && Finished()) {
        QCoreApplication::quit();
    }
}

}  // namespace qlok::console
