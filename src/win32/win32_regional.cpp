#include <windows.h>

#include "win32/win32_services.h"

namespace qlok::win32 {

namespace {

std::string Info(LCTYPE item) {
    char buffer[128];
    const int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, item, buffer, sizeof buffer);
    return length > 1 ? std::string(buffer, static_cast<std::size_t>(length - 1)) : "";
}

}  // namespace

RegionalFormats Win32Regional::Formats() const {
    // The pictures pass through as Windows writes them; the window logic speaks them.
    RegionalFormats f;
    if (std::string date = Info(LOCALE_SSHORTDATE); !date.empty()) {
        f.shortDate = date;
    }
    if (std::string time = Info(LOCALE_STIMEFORMAT); !time.empty()) {
        f.longTime = time;
    }
    f.am = Info(LOCALE_S1159);
    f.pm = Info(LOCALE_S2359);
    if (std::string separator = Info(LOCALE_SDECIMAL); !separator.empty()) {
        f.decimalSeparator = separator;
    }
    for (std::size_t i = 0; i < 12; ++i) {
        const auto offset = static_cast<LCTYPE>(i);
        f.monthNames[i] = Info(LOCALE_SMONTHNAME1 + offset);
        f.monthAbbreviations[i] = Info(LOCALE_SABBREVMONTHNAME1 + offset);
    }
    // Windows counts the days from Monday, the logic from Sunday.
    for (std::size_t i = 0; i < 7; ++i) {
        const auto offset = static_cast<LCTYPE>((i + 6) % 7);
        f.dayNames[i] = Info(LOCALE_SDAYNAME1 + offset);
        f.dayAbbreviations[i] = Info(LOCALE_SABBREVDAYNAME1 + offset);
    }
    return f;
}

}  // namespace qlok::win32
