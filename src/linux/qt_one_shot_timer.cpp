#include "linux/qt_one_shot_timer.h"

#include <utility>

namespace qlok::qt {

QtOneShotTimer::QtOneShotTimer() {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);  // a coarse timer may fire 5 % early
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
        // The callback may start the timer again.
        const std::function<void()> callback = std::exchange(callback_, {});
        if (callback) {
            callback();
        }
    });
}

void QtOneShotTimer::Start(int milliseconds, std::function<void()> callback) {
    callback_ = std::move(callback);
    timer_.start(milliseconds);
}

void QtOneShotTimer::Stop() {
    timer_.stop();
    callback_ = {};
}

}  // namespace qlok::qt
