#include "runtime/datetime.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

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

std::string Padded(int value, int width) {
    std::string digits = std::to_string(value);
    if (static_cast<int>(digits.size()) < width) {
        digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
    }
    return digits;
}

int WeekDay(const DateParts& p) {  // 0 = Sunday; 30 December 1899 was a Saturday
    return static_cast<int>(((DayNumber(p) % 7) + 7 + 6) % 7);
}

// What a picture token stands for: each token writes one slot of the values and reads into it.
enum Field : std::size_t {
    kDay,
    kWeekDay,
    kMonth,
    kYear,
    kShortYear,
    kHour,
    kHour12,
    kMinute,
    kSecond,
    kMeridiem,
    kFieldCount
};
using FieldValues = std::array<int, kFieldCount>;  // -1: not read

enum class Form : std::uint8_t { Digits, ShortName, LongName };

struct Token {
    std::string_view picture;
    Field field;
    Form form;
    int width;  // digits written at least (read: up to two, or four); 0: an empty name is blank
};

// The tokens, longest first for each letter: a run of one letter is the longest token it covers
// (a run of five y is yyyy, as the system reads it).
constexpr Token kTokens[] = {
    {"dddd", kWeekDay, Form::LongName, 0}, {"ddd", kWeekDay, Form::ShortName, 0},
    {"dd", kDay, Form::Digits, 2},         {"d", kDay, Form::Digits, 1},
    {"MMMM", kMonth, Form::LongName, 2},   {"MMM", kMonth, Form::ShortName, 2},
    {"MM", kMonth, Form::Digits, 2},       {"M", kMonth, Form::Digits, 1},
    {"yyyy", kYear, Form::Digits, 4},      {"yy", kShortYear, Form::Digits, 2},
    {"y", kShortYear, Form::Digits, 1},    {"HH", kHour, Form::Digits, 2},
    {"H", kHour, Form::Digits, 1},         {"hh", kHour12, Form::Digits, 2},
    {"h", kHour12, Form::Digits, 1},       {"mm", kMinute, Form::Digits, 2},
    {"m", kMinute, Form::Digits, 1},       {"ss", kSecond, Form::Digits, 2},
    {"s", kSecond, Form::Digits, 1},       {"tt", kMeridiem, Form::LongName, 0},
    {"t", kMeridiem, Form::ShortName, 0},
};

// A picture cut into tokens and literal text.
struct Piece {
    const Token* token = nullptr;  // nullptr: the literal
    std::string literal;
};

std::vector<Piece> Pieces(std::string_view picture) {
    std::vector<Piece> pieces;
    auto literal = [&pieces]() -> std::string& {
        if (pieces.empty() || pieces.back().token != nullptr) {
            pieces.emplace_back();
        }
        return pieces.back().literal;
    };
    for (std::size_t i = 0; i < picture.size();) {
        const char c = picture[i];
        if (c == '\'' && i + 1 < picture.size() && picture[i + 1] == '\'') {
            literal() += '\'';
            i += 2;
        } else if (c == '\'') {  // quoted up to the closing quote, in which '' is a quote
            std::string& text = literal();
            for (++i; i < picture.size(); ++i) {
                if (picture[i] == '\'' && (i + 1 == picture.size() || picture[i + 1] != '\'')) {
                    ++i;
                    break;
                }
                if (picture[i] == '\'') {
                    ++i;  // the first of two
                }
                text += picture[i];
            }
        } else {
            const std::size_t run = std::min(picture.find_first_not_of(c, i), picture.size()) - i;
            const Token* token = nullptr;
            for (const Token& t : kTokens) {
                if (t.picture[0] == c && t.picture.size() <= run) {
                    token = &t;
                    break;
                }
            }
            if (token != nullptr) {
                pieces.push_back({token, {}});
                i += run;
            } else {
                literal() += c;
                ++i;
            }
        }
    }
    return pieces;
}

// The first character of a UTF-8 text.
std::string_view Initial(std::string_view text) {
    std::size_t n = text.empty() ? 0 : 1;
    while (n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) {
        ++n;
    }
    return text.substr(0, n);
}

// The names a token writes, and the value the first of them stands for.
struct Names {
    std::array<std::string_view, 12> text{};
    std::size_t count = 0;
    int first = 0;
    bool AllEmpty() const {
        return std::all_of(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(count),
                           [](std::string_view name) { return name.empty(); });
    }
};

Names NamesOf(const Token& token, const RegionalFormats& f) {
    const bool full = token.form == Form::LongName;
    Names names;
    auto take = [&names](const auto& list, int first) {
        std::copy(list.begin(), list.end(), names.text.begin());
        names.count = list.size();
        names.first = first;
    };
    if (token.field == kMonth) {
        take(full ? f.monthNames : f.monthAbbreviations, 1);
    } else if (token.field == kWeekDay) {
        take(full ? f.dayNames : f.dayAbbreviations, 0);
    } else {  // the meridiem: t is the first character of the designator
        const std::array<std::string_view, 2> designators{full ? f.am : Initial(f.am),
                                                          full ? f.pm : Initial(f.pm)};
        take(designators, 0);
    }
    return names;
}

FieldValues ValuesOf(const DateParts& p) {
    FieldValues v{};
    v[kDay] = p.day;
    v[kWeekDay] = WeekDay(p);
    v[kMonth] = p.month;
    v[kYear] = p.year;
    v[kShortYear] = p.year % 100;
    v[kHour] = p.hour;
    v[kHour12] = p.hour % 12 == 0 ? 12 : p.hour % 12;
    v[kMinute] = p.minute;
    v[kSecond] = p.second;
    v[kMeridiem] = p.hour < 12 ? 0 : 1;
    return v;
}

void Write(const Token& token, const FieldValues& values, const RegionalFormats& f,
           std::string& out) {
    const int value = values[token.field];
    if (token.form == Form::Digits) {
        out += Padded(value, token.width);
        return;
    }
    const Names names = NamesOf(token, f);
    const std::string_view name = names.text[static_cast<std::size_t>(value - names.first)];
    out += name.empty() && token.width > 0 ? Padded(value, token.width) : std::string(name);
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v';
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithWord(std::string_view text, std::string_view word) {
    return !word.empty() && text.size() >= word.size() &&
           std::equal(word.begin(), word.end(), text.begin(),
                      [](char a, char b) { return Lower(a) == Lower(b); });
}

bool ReadDigits(std::string_view text, std::size_t& pos, int maxDigits, int& value) {
    int digits = 0;
    value = 0;
    while (pos < text.size() && digits < maxDigits && text[pos] >= '0' && text[pos] <= '9') {
        value = value * 10 + (text[pos++] - '0');
        ++digits;
    }
    return digits > 0;
}

bool Read(const Token& token, std::string_view text, std::size_t& pos, const RegionalFormats& f,
          FieldValues& values) {
    int& value = values[token.field];
    if (token.form != Form::Digits) {
        const Names names = NamesOf(token, f);
        std::size_t best = names.count;  // the longest name that matches: "June", not "Jun"
        for (std::size_t k = 0; k < names.count; ++k) {
            if (StartsWithWord(text.substr(pos), names.text[k]) &&
                (best == names.count || names.text[k].size() > names.text[best].size())) {
                best = k;
            }
        }
        if (best < names.count) {
            pos += names.text[best].size();
            value = names.first + static_cast<int>(best);
            return true;
        }
        if (token.width == 0) {
            return names.AllEmpty();
        }
    }
    return ReadDigits(text, pos, std::max(token.width, 2), value);
}

bool Parse(std::string_view text, std::size_t& pos, const std::vector<Piece>& pieces,
           const RegionalFormats& f, FieldValues& values) {
    for (const Piece& piece : pieces) {
        if (piece.token != nullptr) {
            if (!Read(*piece.token, text, pos, f, values)) {
                return false;
            }
            continue;
        }
        for (const char c : piece.literal) {
            if (IsSpace(c)) {  // a blank stands for any run of blanks
                while (pos < text.size() && IsSpace(text[pos])) {
                    ++pos;
                }
            } else if (pos < text.size() && text[pos] == c) {
                ++pos;
            } else {
                return false;
            }
        }
    }
    return true;
}

// A two-digit year in the 100 years centred on thisYear, so that every text written within
// half a century of now reads back as the year it was written for.
int InWindow(int twoDigitYear, int thisYear) {
    const int first = thisYear - 50;
    return first + ((twoDigitYear - first) % 100 + 100) % 100;
}

std::optional<DateValue> ParseWhole(std::string_view text, std::string_view picture,
                                    const RegionalFormats& f, bool hasDate, int thisYear) {
    FieldValues v;
    v.fill(-1);
    std::size_t pos = 0;
    if (!Parse(text, pos, Pieces(picture), f, v) || pos != text.size()) {
        return std::nullopt;
    }
    DateParts p;  // fields not read stay at the zero date and midnight
    auto take = [&v](Field field, int& slot) {
        if (v[field] >= 0) {
            slot = v[field];
        }
    };
    if (hasDate) {
        take(kDay, p.day);
        take(kMonth, p.month);
        if (v[kShortYear] >= 0) {
            p.year = InWindow(v[kShortYear], thisYear);
        }
        take(kYear, p.year);
    }
    take(kHour, p.hour);
    take(kMinute, p.minute);
    take(kSecond, p.second);
    if (v[kHour12] >= 0) {
        if (v[kHour12] < 1 || v[kHour12] > 12) {
            return std::nullopt;
        }
        p.hour = v[kHour12] % 12 + (v[kMeridiem] == 1 ? 12 : 0);
    } else if (v[kMeridiem] == 1 && p.hour < 12) {
        p.hour += 12;  // a 24-hour picture with a designator: 3:00 PM
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

RegionalFormats ComparisonFormats(RegionalFormats formats) {
    formats.shortDate = std::string(Trim(formats.shortDate));
    formats.longTime = std::string(Trim(formats.longTime));
    bool seconds = false;
    bool twelveHour = false;
    for (const Piece& piece : Pieces(formats.longTime)) {
        seconds = seconds || (piece.token != nullptr && piece.token->field == kSecond);
        twelveHour = twelveHour || (piece.token != nullptr && piece.token->field == kHour12);
    }
    if (!seconds) {
        formats.longTime = twelveHour ? "hh:mm:ss tt" : "HH:mm:ss";
    }
    return formats;
}

std::string FormatPicture(std::string_view picture, const DateParts& parts,
                          const RegionalFormats& formats) {
    const FieldValues values = ValuesOf(parts);
    std::string out;
    for (const Piece& piece : Pieces(picture)) {
        if (piece.token != nullptr) {
            Write(*piece.token, values, formats, out);
        } else {
            out += piece.literal;
        }
    }
    return out;
}

std::string DateToText(DateValue value, const RegionalFormats& formats) {
    const DateParts p = SplitDate(value);
    const bool zeroDate = p.year == 1899 && p.month == 12 && p.day == 30;
    const bool midnight = p.hour == 0 && p.minute == 0 && p.second == 0;
    if (zeroDate) {
        return FormatPicture(formats.longTime, p, formats);
    }
    if (midnight) {
        return FormatPicture(formats.shortDate, p, formats);
    }
    return FormatPicture(formats.shortDate, p, formats) + " " +
           FormatPicture(formats.longTime, p, formats);
}

std::optional<DateValue> TextToDate(std::string_view text, const RegionalFormats& formats,
                                    int thisYear) {
    text = Trim(text);
    if (text.empty()) {
        return std::nullopt;
    }
    const std::string both = formats.shortDate + " " + formats.longTime;
    // The regional form first: under a picture such as yyyy-dd-MM the program's own text would
    // otherwise be read as year-month-day.
    const std::pair<std::string_view, bool> pictures[] = {
        {both, true},
        {formats.shortDate, true},
        {formats.longTime, false},
        {"yyyy-MM-dd HH:mm:ss", true},
        {"yyyy-MM-dd", true},
    };
    for (const auto& [picture, hasDate] : pictures) {
        if (auto value = ParseWhole(text, picture, formats, hasDate, thisYear)) {
            return value;
        }
    }
    return std::nullopt;
}

}  // namespace qlok
