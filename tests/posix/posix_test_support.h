// Helpers of the Linux service tests: process-wide settings changed for one test, and a
// window on the fake front end with some services swapped for the real ones.
#pragma once

#include <clocale>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "fake/fake_platform.h"

namespace qlok::posix_test {

// Switches the whole locale for the life of the object, then back to "C".
class ScopedLocale {
  public:
    explicit ScopedLocale(const char* name) : ok_(std::setlocale(LC_ALL, name) != nullptr) {}
    ~ScopedLocale() { std::setlocale(LC_ALL, "C"); }
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;
    bool ok() const { return ok_; }

  private:
    bool ok_;
};

// Sets TZ for the life of the object, then restores it.
class ScopedTimeZone {
  public:
    explicit ScopedTimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) {
            old_ = old;
        }
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedTimeZone() {
        if (old_) {
            setenv("TZ", old_->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

  private:
    std::optional<std::string> old_;
};

// The fake front end's controls and services, with the clock and regional formats given.
inline Platform PlatformWith(fake::FakeApp& app, SystemClock& clock, RegionalSettings& regional) {
    return Platform{app.window,     app.combo1,    app.list1,  app.command1,     app.command2,
                    app.command3,   app.countDown, app.timer1, app.winsock1,     clock,
                    regional,       app.files,     app.shell,  app.messageBoxes, app.tray,
                    app.windowMenu, app.log};
}

}  // namespace qlok::posix_test
