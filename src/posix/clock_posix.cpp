#include <cerrno>
#include <ctime>

#include "posix_services.h"

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

std::time_t UtcSeconds(const SystemTimeRecord& utc) {
    std::tm t{};
    t.tm_year = utc.wYear - 1900;
    t.tm_mon = utc.wMonth - 1;
    t.tm_mday = utc.wDay;
    t.tm_hour = utc.wHour;
    t.tm_min = utc.wMinute;
    t.tm_sec = utc.wSecond;
    return timegm(&t);
}

int PosixClock::SetSystemTime(const SystemTimeRecord& utc) {
    const timespec when{UtcSeconds(utc), 0};
    if (clock_settime(CLOCK_REALTIME, &when) != 0) {
        lastError_ = ErrorText(errno);
        return 0;
    }
    lastError_.clear();
    return 1;
}

}  // namespace qlok::posix
