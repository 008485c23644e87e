#include "console/console_front_end.h"

#include <QCoreApplication>
#include <utility>

#include "desktop/module_state.h"
#include "desktop/systray.h"

namespace qlok::console {

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
    return ExitStatus(form_.Outcome());
}

void ConsoleFrontEnd::Handled() {
    // Never while the clock is being set: quitting would end the wait for the answer too.
    if (looping_ && Finished()) {
        QCoreApplication::quit();
    }
}

}  // namespace qlok::console
