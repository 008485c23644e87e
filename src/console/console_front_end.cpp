#include "console/console_front_end.h"

#include <QCoreApplication>
#include <utility>

#include "sync/winsock_events.h"

namespace qlok::console {

ConsoleFrontEnd::ConsoleFrontEnd(std::string serverArgument, bool once)
    : socket_(posixClock_, WinsockEvents(form_)),
      platform_(controls_.With(socket_.control, clock_, regional_, files_, log_, requestDelay_,
                               wakeDelay_)),
      // With once, the window's command line starts the one synchronisation at load.
      form_(platform_, once ? serverArgument : std::string()),
      serverArgument_(std::move(serverArgument)),
      once_(once) {}

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
