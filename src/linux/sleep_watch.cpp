#include "linux/sleep_watch.h"

#include <QDBusConnection>
#include <QTimer>
#include <utility>

namespace qlok::qt {

SleepWatch::SleepWatch(std::function<void()> resumed) : resumed_(std::move(resumed)) {
    QDBusConnection::systemBus().connect("org.freedesktop.login1", "/org/freedesktop/login1",
                                         "org.freedesktop.login1.Manager", "PrepareForSleep", this,
                                         SLOT(PrepareForSleep(bool)));
}

void SleepWatch::PrepareForSleep(bool starting) {
    if (!starting && resumed_) {
        resumed_();
    }
}

}  // namespace qlok::qt
