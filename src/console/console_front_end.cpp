#include "console/console_front_end.h"

#include <QCoreApplication>
#include <utility>

#include "desktop/module_state.h"
#include "desktop/systray.h"

namespace qlok::console {

ConsoleFrontEnd::ConsoleFrontEnd(std::string serverArgument, bool once)
    : socket_(posixClock_,
              SocketEvents{
                  [this] { form_.Winsock1_Connect(); },
                  [this](std::int32_t bytesTotal) { form_.Winsock1_DataArrival(bytesTotal); },
                  [this] { form_.Winsock1_Close(); },
                  [this](std::int16_t number, const std::string& description) {
                      form_.Winsock1_Error(number, description);
                  },
              }),
      platform_{window_,  combo1_,         list1_, command1_,     command2_, command3_, countDown_,
                timer1_,  socket_.control, clock_, regional_,     files_,    desktop_,  desktop_,
                desktop_, desktop_,        log_,   requestDelay_, wakeDelay_},
      // With once, the window's command line starts the one synchronisation at load.
      form_(platform_, once ? serverArgument : std::string()),
      serverArgument_(std::move(serverArgument)),
      once_(once) {}

ConsoleFrontEnd::~ConsoleFrontEnd() {
    if (Systray::MainForm == &form_) {
        ResetModuleState();
    }
}

int ConsoleFrontEnd::Run() {
    if (once_) {
        form_.SyncEnded = [this] { Ended(); };
    } else {
        run_.onFinished = [this] { Ended(); };
    }
    form_.Form_Load();
    if (!once_) {
        run_.Start(serverArgument_);
    }
    if (!Finished()) {
        looping_ = true;
        QCoreApplication::exec();
        looping_ = false;
    }
    return once_ ? ExitStatus(form_.Outcome()) : run_.ExitStatus();
}

void ConsoleFrontEnd::Ended() {
    if (looping_ && Finished()) {
        QCoreApplication::quit();
    }
}

}  // namespace qlok::console
