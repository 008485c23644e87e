#include "app/datetime.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace qlok {

namespace {

// Days from 1970-01-01 of a proleptic Gregorian date (Howard Hinnant's algorithm).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2 ? 1 : 0;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? static_cast<unsigned>(-3) : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& year, int& month, int& day) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<long long>(yoe) + era * 400 + (month <= 2 ? 1 : 0));
}

const long long kEpochDays = DaysFromCivil(1899, 12, 30);

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

bool IsValid(const DateParts& p) {
    return p.year >= 100 && p.year <= 9999 && p.month >= 1 && p.month <= 12 && p.day >= 1 &&
           p.day <= DaysInMonth(p.year, p.month) && p.hour >= 0 && p.hour <= 23 && p.minute >= 0 &&
           p.minute <= 59 && p.second >= 0 && p.second <= 59;
}

long long DayNumber(const DateParts& p) {
    return DaysFromCivil(p.year, static_cast<unsigned>(p.month), static_cast<unsigned>(p.day)) -
           kEpochDays;
}

std::string Padded(int value, int width, char pad) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    std::string out = value < 0 ? "-" : "";
    if (static_cast<int>(digits.size()) < width) {
        out.append(static_cast<std::size_t>(width) - digits.size(), pad);
    }
    return out + digits;
}

int WeekDay(const DateParts& p) {  // 0 = Sunday; 30 December 1899 was a Saturday
    return static_cast<int>(((DayNumber(p) % 7) + 7 + 6) % 7);
}

std::string NameOr(const std::string& name, int fallback) {
    return name.empty() ? Padded(fallback, 2, '0') : name;
}

// One conversion of a pattern: GNU flags and a field width may stand between the '%' and
// the letter, and so may the E and O modifiers.
struct Conversion {
    char flag = 0;  // '-' no padding, '_' spaces, '0' zeros, '^' upper case
    char letter = 0;
};

Conversion ReadConversion(std::string_view pattern, std::size_t& i) {
    Conversion c;
    while (i + 1 < pattern.size() &&
           std::string_view("-_0^#").find(pattern[i]) != std::string_view::npos) {
        c.flag = pattern[i++];
    }
    while (i + 1 < pattern.size() && pattern[i] >= '1' && pattern[i] <= '9') {
        ++i;  // a field width: the plain width serves
    }
    if ((pattern[i] == 'E' || pattern[i] == 'O') && i + 1 < pattern.size()) {
        ++i;
    }
    c.letter = pattern[i];
    return c;
}

std::string Lower(std::string text) {
    for (char& ch : text) {
        if (ch >= 'A' && ch <= 'Z') {
            ch = static_cast<char>(ch - 'A' + 'a');
        }
    }
    return text;
}

std::string Upper(std::string text) {
    for (char& ch : text) {
        if (ch >= 'a' && ch <= 'z') {
            ch = static_cast<char>(ch - 'a' + 'A');
        }
    }
    return text;
}

void Format(std::string_view pattern, const DateParts& p, const RegionalFormats& f,
            std::string& out, int depth) {
    const int hour12 = p.hour % 12 == 0 ? 12 : p.hour % 12;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%' || i + 1 == pattern.size()) {
            out += pattern[i];
            continue;
        }
        ++i;
        const Conversion conversion = ReadConversion(pattern, i);
        const char c = conversion.letter;
        auto number = [&](int value, char pad) {
            switch (conversion.flag) {
                case '-':
                    return std::to_string(value);
                case '_':
                    return Padded(value, 2, ' ');
                case '0':
                    return Padded(value, 2, '0');
                default:
                    return Padded(value, 2, pad);
            }
        };
        auto word = [&](const std::string& text) {
            return conversion.flag == '^' ? Upper(text) : text;
        };
        switch (c) {
            case 'd':
                out += number(p.day, '0');
                break;
            case 'e':
                out += number(p.day, ' ');
                break;
            case 'm':
                out += number(p.month, '0');
                break;
            case 'y':
                out += number(p.year % 100, '0');
                break;
            case 'Y':
                out += std::to_string(p.year);
                break;
            case 'C':
                out += number(p.year / 100, '0');
                break;
            case 'H':
                out += number(p.hour, '0');
                break;
            case 'k':
                out += number(p.hour, ' ');
                break;
            case 'I':
                out += number(hour12, '0');
                break;
            case 'l':
                out += number(hour12, ' ');
                break;
            case 'M':
                out += number(p.minute, '0');
                break;
            case 'S':
                out += number(p.second, '0');
                break;
            case 'p':
                out += word(p.hour < 12 ? f.am : f.pm);
                break;
            case 'P':
                out += Lower(p.hour < 12 ? f.am : f.pm);
                break;
            case 'b':
            case 'h':
                out += word(
                    NameOr(f.monthAbbreviations[static_cast<std::size_t>(p.month - 1)], p.month));
                break;
            case 'B':
                out += word(NameOr(f.monthNames[static_cast<std::size_t>(p.month - 1)], p.month));
                break;
            case 'a':
                out += word(f.dayAbbreviations[static_cast<std::size_t>(WeekDay(p))]);
                break;
            case 'A':
                out += word(f.dayNames[static_cast<std::size_t>(WeekDay(p))]);
                break;
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case '%':
                out += '%';
                break;
            case 'D':
                Format("%m/%d/%y", p, f, out, depth);
                break;
            case 'F':
                Format("%Y-%m-%d", p, f, out, depth);
                break;
            case 'T':
                Format("%H:%M:%S", p, f, out, depth);
                break;
            case 'R':
                Format("%H:%M", p, f, out, depth);
                break;
            case 'r':
                Format("%I:%M:%S %p", p, f, out, depth);
                break;
            case 'x':
                if (depth < 2)
                    Format(f.shortDate, p, f, out, depth + 1);
                break;
            case 'X':
                if (depth < 2)
                    Format(f.longTime, p, f, out, depth + 1);
                break;
            default:
                out += '%';
                out += c;
        }
    }
}

// What a parse has found so far.
struct Fields {
    DateParts parts;
    int hour12 = -1;     // hour read by %I or %l, before %p applies
    int meridiem = -1;   // 0 am, 1 pm
    bool year2 = false;  // the year was read with two digits
    int century = -1;    // read by %C
};

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v';
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool MatchWord(std::string_view text, std::size_t& pos, const std::string& word) {
    if (word.empty() || text.size() - pos < word.size()) {
        return false;
    }
    for (std::size_t k = 0; k < word.size(); ++k) {
        if (Lower(text[pos + k]) != Lower(word[k])) {
            return false;
        }
    }
    pos += word.size();
    return true;
}

bool ReadNumber(std::string_view text, std::size_t& pos, int maxDigits, bool allowSpace,
                int& value) {
    if (allowSpace) {
        while (pos < text.size() && text[pos] == ' ') {
            ++pos;
        }
    }
    int digits = 0;
    value = 0;
    while (pos < text.size() && digits < maxDigits && text[pos] >= '0' && text[pos] <= '9') {
        value = value * 10 + (text[pos] - '0');
        ++pos;
        ++digits;
    }
    return digits > 0;
}

template <std::size_t N>
bool ReadName(std::string_view text, std::size_t& pos, const std::array<std::string, N>& names,
              int& index) {
    // Longest name first, so that "June" is not taken for "Jun".
    int best = -1;
    std::size_t bestLength = 0;
    for (std::size_t k = 0; k < N; ++k) {
        std::size_t p = pos;
        if (names[k].size() > bestLength && MatchWord(text, p, names[k])) {
            best = static_cast<int>(k);
            bestLength = names[k].size();
        }
    }
    if (best < 0) {
        return false;
    }
    pos += bestLength;
    index = best;
    return true;
}

bool Parse(std::string_view text, std::size_t& pos, std::string_view pattern,
           const RegionalFormats& f, Fields& out, int depth) {
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char pc = pattern[i];
        if (IsSpace(pc)) {
            while (pos < text.size() && IsSpace(text[pos])) {
                ++pos;
            }
            continue;
        }
        if (pc != '%' || i + 1 == pattern.size()) {
            if (pos >= text.size() || text[pos] != pc) {
                return false;
            }
            ++pos;
            continue;
        }
        ++i;
        const Conversion conversion = ReadConversion(pattern, i);
        const char c = conversion.letter;
        const bool spaced = conversion.flag == '_' || c == 'e' || c == 'k' || c == 'l';
        int v = 0;
        bool ok = true;
        switch (c) {
            case 'd':
            case 'e':
                ok = ReadNumber(text, pos, 2, spaced, out.parts.day);
                break;
            case 'C':
                ok = ReadNumber(text, pos, 2, spaced, out.century);
                break;
            case 'm':
                ok = ReadNumber(text, pos, 2, spaced, out.parts.month);
                break;
            case 'y':
                ok = ReadNumber(text, pos, 2, spaced, out.parts.year);
                out.year2 = true;
                break;
            case 'Y':
                ok = ReadNumber(text, pos, 4, false, out.parts.year);
                out.year2 = false;
                break;
            case 'H':
            case 'k':
                ok = ReadNumber(text, pos, 2, spaced, out.parts.hour);
                break;
            case 'I':
            case 'l':
                ok = ReadNumber(text, pos, 2, spaced, out.hour12);
                break;
            case 'M':
                ok = ReadNumber(text, pos, 2, spaced, out.parts.minute);
                break;
            case 'S':
                ok = ReadNumber(text, pos, 2, spaced, out.parts.second);
                break;
            case 'p':
            case 'P':
                if (MatchWord(text, pos, f.am)) {
                    out.meridiem = 0;
                } else if (MatchWord(text, pos, f.pm)) {
                    out.meridiem = 1;
                } else {
                    ok = f.am.empty() && f.pm.empty();
                }
                break;
            case 'b':
            case 'h':
            case 'B':
                if (ReadName(text, pos, f.monthNames, v) ||
                    ReadName(text, pos, f.monthAbbreviations, v)) {
                    out.parts.month = v + 1;
                } else {
                    ok = ReadNumber(text, pos, 2, spaced, out.parts.month);
                }
                break;
            case 'a':
            case 'A':
                ok = ReadName(text, pos, f.dayNames, v) ||
                     ReadName(text, pos, f.dayAbbreviations, v);
                break;
            case 'n':
            case 't':
                while (pos < text.size() && IsSpace(text[pos])) {
                    ++pos;
                }
                break;
            case '%':
                ok = pos < text.size() && text[pos++] == '%';
                break;
            case 'D':
                ok = Parse(text, pos, "%m/%d/%y", f, out, depth);
                break;
            case 'F':
                ok = Parse(text, pos, "%Y-%m-%d", f, out, depth);
                break;
            case 'T':
                ok = Parse(text, pos, "%H:%M:%S", f, out, depth);
                break;
            case 'R':
                ok = Parse(text, pos, "%H:%M", f, out, depth);
                break;
            case 'r':
                ok = Parse(text, pos, "%I:%M:%S %p", f, out, depth);
                break;
            case 'x':
                ok = depth < 2 && Parse(text, pos, f.shortDate, f, out, depth + 1);
                break;
            case 'X':
                ok = depth < 2 && Parse(text, pos, f.longTime, f, out, depth + 1);
                break;
            default:
                ok = false;
        }
        if (!ok) {
            return false;
        }
    }
    return true;
}

std::optional<DateValue> ParseWhole(std::string_view text, std::string_view pattern,
                                    const RegionalFormats& f, bool hasDate) {
    Fields fields;
    std::size_t pos = 0;
    if (!Parse(text, pos, pattern, f, fields, 0) || pos != text.size()) {
        return std::nullopt;
    }
    DateParts& p = fields.parts;
    if (fields.hour12 >= 0) {
        if (fields.hour12 < 1 || fields.hour12 > 12) {
            return std::nullopt;
        }
        p.hour = fields.hour12 % 12 + (fields.meridiem == 1 ? 12 : 0);
    } else if (fields.meridiem == 1 && p.hour < 12) {
        p.hour += 12;  // a 24-hour pattern with a meridiem: 3:00 PM
    }
    if (hasDate && fields.year2) {
        if (fields.century >= 0) {
            p.year += fields.century * 100;
        } else {
            p.year += p.year < 30 ? 2000 : 1900;  // the two-digit year window 1930..2029
        }
    }
    if (!hasDate) {
        p.year = 1899;
        p.month = 12;
        p.day = 30;
    }
    return MakeDate(p);
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace

std::optional<DateValue> MakeDate(const DateParts& p) {
    if (!IsValid(p)) {
        return std::nullopt;
    }
    const auto days = static_cast<double>(DayNumber(p));
    const double time = static_cast<double>(p.hour * 3600 + p.minute * 60 + p.second) /
                        static_cast<double>(kSecondsPerDay);
    return days >= 0 ? days + time : days - time;
}

DateParts SplitDate(DateValue value) {
    if (!std::isfinite(value)) {
        return {};
    }
    double whole = std::trunc(value);
    auto seconds = std::llround(std::fabs(value - whole) * static_cast<double>(kSecondsPerDay));
    if (seconds >= kSecondsPerDay) {
        seconds -= kSecondsPerDay;
        whole += value >= 0 ? 1 : -1;
    }
    DateParts p;
    CivilFromDays(static_cast<long long>(whole) + kEpochDays, p.year, p.month, p.day);
    p.hour = static_cast<int>(seconds / 3600);
    p.minute = static_cast<int>(seconds / 60 % 60);
    p.second = static_cast<int>(seconds % 60);
    return p;
}

long long TotalSeconds(DateValue value) {
    const double seconds = value * static_cast<double>(kSecondsPerDay);
    if (!std::isfinite(seconds) || std::fabs(seconds) > 1e18) {
        return value < 0 ? std::numeric_limits<long long>::min()
                         : std::numeric_limits<long long>::max();
    }
    return std::llround(seconds);
}

DateValue FromSeconds(long long seconds) {
    return static_cast<double>(seconds) / static_cast<double>(kSecondsPerDay);
}

std::string FormatPattern(std::string_view pattern, const DateParts& parts,
                          const RegionalFormats& formats) {
    std::string out;
    Format(pattern, parts, formats, out, 0);
    return out;
}

std::string DateToText(DateValue value, const RegionalFormats& formats) {
    const DateParts p = SplitDate(value);
    const bool zeroDate = p.year == 1899 && p.month == 12 && p.day == 30;
    const bool midnight = p.hour == 0 && p.minute == 0 && p.second == 0;
    if (zeroDate) {
        return FormatPattern(formats.longTime, p, formats);
    }
    if (midnight) {
        return FormatPattern(formats.shortDate, p, formats);
    }
    return FormatPattern(formats.shortDate, p, formats) + " " +
           FormatPattern(formats.longTime, p, formats);
}

std::optional<DateValue> TextToDate(std::string_view text, const RegionalFormats& formats) {
    text = Trim(text);
    if (text.empty()) {
        return std::nullopt;
    }
    const std::string both = formats.shortDate + " " + formats.longTime;
    if (auto v = ParseWhole(text, "%Y-%m-%d %H:%M:%S", formats, true))
        return v;
    if (auto v = ParseWhole(text, "%Y-%m-%d", formats, true))
        return v;
    if (auto v = ParseWhole(text, both, formats, true))
        return v;
    if (auto v = ParseWhole(text, formats.shortDate, formats, true))
        return v;
    if (auto v = ParseWhole(text, formats.longTime, formats, false))
        return v;
    return std::nullopt;
}

}  // namespace qlok
