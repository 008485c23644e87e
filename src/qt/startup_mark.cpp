#include "qt/startup_mark.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace qlok::qt {

namespace {

long long Nanoseconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

class ExposeMark final : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && watched->isWindowType() &&
            static_cast<QWindow*>(watched)->isExposed()) {
            std::fprintf(stderr, "startup-mark exposed %lld %lld\n", Nanoseconds(CLOCK_MONOTONIC),
                         Nanoseconds(CLOCK_PROCESS_CPUTIME_ID));
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
