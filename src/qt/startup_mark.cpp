#include "qt/startup_mark.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace qlok::qt {

namespace {

class ExposeMark final : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && watched->isWindowType() &&
            static_cast<QWindow*>(watched)->isExposed()) {
            timespec now{};
            clock_gettime(CLOCK_MONOTONIC, &now);
            std::fprintf(stderr, "startup-mark exposed %lld\n",
                         static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
            std::fflush(stderr);
            deleteLater();  // one mark; no filter on later events
            QCoreApplication::instance()->removeEventFilter(this);
        }
        return false;
    }
};

}  // namespace

void InstallStartupMark() {
    if (std::getenv("QLOK_STARTUP_MARK") != nullptr) {
        QCoreApplication::instance()->installEventFilter(new ExposeMark);
    }
}

}  // namespace qlok::qt
