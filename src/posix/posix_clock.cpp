#include <cerrno>
#include <ctime>

#include "posix/posix_error_text.h"
#include "posix/posix_services.h"
#include "sync/clock_step.h"

namespace qlok::posix {

namespace {

std::tm LocalTm() {
    const std::time_t now = std::time(nullptr);
    tzset();  // the zone in force now, also when it changed while the program runs
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

}  // namespace

DateParts PosixClock::LocalNow() const {
    const std::tm t = LocalTm();
    return {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec};
}

long PosixClock::UtcOffsetSecondsNow() const {
    return LocalTm().tm_gmtoff;
}

ClockReading PosixClock::PreciseNow() const {
    timespec utc{};
    timespec monotonic{};
    clock_gettime(CLOCK_REALTIME, &utc);
    clock_gettime(CLOCK_BOOTTIME, &monotonic);  // counts a suspend, as a wall clock does
    const auto micros = [](const timespec& t) {
        return std::int64_t{t.tv_sec} * kMicrosecondsPerSecond + t.tv_nsec / 1000;
    };
    return {micros(utc), micros(monotonic)};
}

int PosixClock::SetSystemTime(const SystemTimeRecord& utc, const ClockReading& arrival) {
    const timespec when{
        static_cast<std::time_t>(StepTarget(utc, arrival, PreciseNow().monotonicMicroseconds)), 0};
    if (clock_settime(CLOCK_REALTIME, &when) != 0) {
        lastError_ = ErrorText(errno);
        return 0;
    }
    lastError_.clear();
    return 1;
}

}  // namespace qlok::posix
