// Helpers of the Linux service tests: process-wide settings changed for one test.
#pragma once

#include <clocale>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace qlok::posix_test {

// Switches the whole locale for the life of the object, then back to "C".
struct ScopedLocale {
    explicit ScopedLocale(const char* name) : ok_(std::setlocale(LC_ALL, name) != nullptr) {}
    ~ScopedLocale() { std::setlocale(LC_ALL, "C"); }
    ScopedLocale(const ScopedLocale&) = delete;
    bool ok() const { return ok_; }
    const bool ok_;
};

// Sets TZ for the life of the object, then restores it.
struct ScopedTimeZone {
    explicit ScopedTimeZone(const char* zone) { Set(zone); }
    ~ScopedTimeZone() { Set(old_ ? old_->c_str() : nullptr); }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    static void Set(const char* zone) {
        zone != nullptr ? setenv("TZ", zone, 1) : unsetenv("TZ");
        tzset();
    }
    const std::optional<std::string> old_ =
        std::getenv("TZ") ? std::optional<std::string>(std::getenv("TZ")) : std::nullopt;
};

}  // namespace qlok::posix_test
