// Wakes from sleep on Linux: logind's PrepareForSleep(false) on the system bus.
#pragma once

#include <QObject>
#include <functional>

namespace qlok::qt {

class SleepWatch final : public QObject {
    Q_OBJECT

  public:
    // Calls resumed after each wake, watching from the first turn of the event loop; with no
    // system bus or no logind it never does, silently.
    explicit SleepWatch(std::function<void()> resumed);

  private slots:
    // starting: true before the sleep, false after the wake.
    void PrepareForSleep(bool starting);

  private:
    std::function<void()> resumed_;
};

}  // namespace qlok::qt
