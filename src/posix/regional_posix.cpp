#include <langinfo.h>

#include "posix_services.h"

namespace qlok::posix {

namespace {

std::string Info(nl_item item) {
    const char* text = nl_langinfo(item);
    return text != nullptr ? text : "";
}

// Drops the time-zone conversions: the general date/time text carries no zone.
std::string WithoutZone(std::string pattern) {
    for (const char* zone : {" %Z", "%Z", " %z", "%z"}) {
        for (std::size_t at; (at = pattern.find(zone)) != std::string::npos;) {
            pattern.erase(at, std::char_traits<char>::length(zone));
        }
    }
    return pattern;
}

}  // namespace

RegionalFormats PosixRegional::Formats() const {
    RegionalFormats f;
    f.shortDate = WithoutZone(Info(D_FMT));
    std::string time = Info(T_FMT);
    if (time == "%r" && !Info(T_FMT_AMPM).empty()) {
        time = Info(T_FMT_AMPM);
    }
    f.longTime = WithoutZone(time);
    if (f.shortDate.empty()) {
        f.shortDate = "%m/%d/%y";
    }
    if (f.longTime.empty()) {
        f.longTime = "%H:%M:%S";
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
