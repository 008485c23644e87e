#include <langinfo.h>

#include "posix_services.h"

namespace qlok::posix {

namespace {

std::string Info(nl_item item) {
    const char* text = nl_langinfo(item);
    return text != nullptr ? text : "";
}

// Drops the time-zone conversions and the blanks they leave: the general date/time text
// carries no zone.
std::string WithoutZone(std::string pattern) {
    for (const char* zone : {"%Z", "%z"}) {
        for (std::size_t at; (at = pattern.find(zone)) != std::string::npos;) {
            pattern.erase(at, 2);
        }
    }
    for (std::size_t at; (at = pattern.find("  ")) != std::string::npos;) {
        pattern.erase(at, 1);
    }
    const std::size_t first = pattern.find_first_not_of(' ');
    const std::size_t last = pattern.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : pattern.substr(first, last - first + 1);
}

// Readings are compared through their text, so a time format without seconds would make every
// comparison one of whole minutes; such locales get the nearest form with seconds.
std::string WithSeconds(const std::string& time) {
    for (const char* seconds : {"%S", "%T", "%r", "%X"}) {
        if (time.find(seconds) != std::string::npos) {
            return time;
        }
    }
    const bool twelveHour =
        time.find("%I") != std::string::npos || time.find("%l") != std::string::npos;
    return twelveHour ? "%I:%M:%S %p" : "%H:%M:%S";
}

}  // namespace

RegionalFormats PosixRegional::Formats() const {
    RegionalFormats f;
    f.shortDate = WithoutZone(Info(D_FMT));
    std::string time = Info(T_FMT);
    if (time == "%r" && !Info(T_FMT_AMPM).empty()) {
        time = Info(T_FMT_AMPM);
    }
    f.longTime = WithSeconds(WithoutZone(time));
    if (f.shortDate.empty()) {
        f.shortDate = "%m/%d/%y";
    }
    f.am = Info(AM_STR);
    f.pm = Info(PM_STR);
    f.decimalSeparator = Info(RADIXCHAR);
    if (f.decimalSeparator.empty()) {
        f.decimalSeparator = ".";
    }
    static constexpr nl_item kMonths[] = {MON_1, MON_2, MON_3, MON_4,  MON_5,  MON_6,
                                          MON_7, MON_8, MON_9, MON_10, MON_11, MON_12};
    static constexpr nl_item kAbMonths[] = {ABMON_1, ABMON_2,  ABMON_3,  ABMON_4,
                                            ABMON_5, ABMON_6,  ABMON_7,  ABMON_8,
                                            ABMON_9, ABMON_10, ABMON_11, ABMON_12};
    static constexpr nl_item kDays[] = {DAY_1, DAY_2, DAY_3, DAY_4, DAY_5, DAY_6, DAY_7};
    static constexpr nl_item kAbDays[] = {ABDAY_1, ABDAY_2, ABDAY_3, ABDAY_4,
                                          ABDAY_5, ABDAY_6, ABDAY_7};
    for (std::size_t i = 0; i < 12; ++i) {
        f.monthNames[i] = Info(kMonths[i]);
        f.monthAbbreviations[i] = Info(kAbMonths[i]);
    }
    for (std::size_t i = 0; i < 7; ++i) {
        f.dayNames[i] = Info(kDays[i]);
        f.dayAbbreviations[i] = Info(kAbDays[i]);
    }
    return f;
}

}  // namespace qlok::posix
