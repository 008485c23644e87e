#include <langinfo.h>

#include <clocale>
#include <string_view>

#include "posix_services.h"

namespace qlok::posix {

namespace {

std::string Info(nl_item item) {
    const char* text = nl_langinfo(item);
    return text != nullptr ? text : "";
}

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Literal text as a picture: letters in quotes, so that none is taken for a field.
std::string Literal(std::string_view text) {
    std::string out;
    bool quoted = false;
    for (const char c : text) {
        if (IsLetter(c) != quoted) {
            out += '\'';
            quoted = !quoted;
        }
        out += c == '\'' ? std::string("''") : std::string(1, c);
    }
    return quoted ? out + '\'' : out;
}

struct Conversion {
    char letter;
    std::string_view picture;
    std::string_view unpadded;  // with the GNU flags - and _
};

constexpr Conversion kConversions[] = {
    {'d', "dd", "d"},
    {'e', "d", "d"},
    {'m', "MM", "M"},
    {'y', "yy", "y"},
    {'Y', "yyyy", "yyyy"},
    {'H', "HH", "H"},
    {'k', "H", "H"},
    {'I', "hh", "h"},
    {'l', "h", "h"},
    {'M', "mm", "m"},
    {'S', "ss", "s"},
    {'p', "tt", "tt"},
    {'P', "tt", "tt"},
    {'b', "MMM", "MMM"},
    {'h', "MMM", "MMM"},
    {'B', "MMMM", "MMMM"},
    {'a', "ddd", "ddd"},
    {'A', "dddd", "dddd"},
    {'D', "MM/dd/yy", "M/d/y"},
    {'F', "yyyy-MM-dd", "yyyy-M-d"},
    {'T', "HH:mm:ss", "H:m:s"},
    {'R', "HH:mm", "H:m"},
};

// An strftime format as a picture. The zone has none and goes with the blank before it; other
// conversions without one (week numbers, say) are left out; %r is the locale's 12-hour format.
std::string ToPicture(std::string_view format, std::string_view twelveHour) {
    std::string picture;
    std::string literal;
    bool century = false;  // %C just before: %C%y is the whole year
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 == format.size()) {
            literal += format[i];
            continue;
        }
        bool unpadded = false;
        while (++i + 1 < format.size() &&
               std::string_view("-_0^#").find(format[i]) != std::string_view::npos) {
            unpadded = unpadded || format[i] == '-' || format[i] == '_';
        }
        while (i + 1 < format.size() &&
               ((format[i] >= '1' && format[i] <= '9') || format[i] == 'E' || format[i] == 'O')) {
            ++i;  // a field width or an alternative form: the plain one serves
        }
        const char letter = format[i];
        if (letter == '%' || letter == 'n' || letter == 't') {
            literal += letter == '%' ? '%' : letter == 'n' ? '\n' : '\t';
            continue;
        }
        std::string field;
        if (letter == 'r' && !twelveHour.empty()) {
            field = ToPicture(twelveHour, {});
        }
        for (const Conversion& c : kConversions) {
            if (c.letter == letter) {
                field = century && letter == 'y' ? "yyyy" : unpadded ? c.unpadded : c.picture;
            }
        }
        century = letter == 'C';
        if ((letter == 'Z' || letter == 'z') && !literal.empty() && literal.back() == ' ') {
            literal.pop_back();
        }
        if (!field.empty()) {
            picture += Literal(literal) + field;
            literal.clear();
        }
    }
    return picture + Literal(literal);
}

}  // namespace

RegionalFormats PosixRegional::Formats() const {
    const std::string locale =
        std::string(std::setlocale(LC_TIME, nullptr)) + ";" + std::setlocale(LC_NUMERIC, nullptr);
    if (locale == locale_) {
        return formats_;
    }
    RegionalFormats f;
    std::string twelveHour = Info(T_FMT_AMPM);
    if (twelveHour.empty()) {
        twelveHour = "%I:%M:%S %p";
    }
    f.shortDate = ToPicture(Info(D_FMT), twelveHour);
    f.longTime = ToPicture(Info(T_FMT), twelveHour);
    if (f.shortDate.empty()) {
        f.shortDate = RegionalFormats{}.shortDate;
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
    locale_ = locale;
    formats_ = f;
    return f;
}

}  // namespace qlok::posix
