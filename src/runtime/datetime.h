// The runtime's date values and their text under the user's regional formats.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace qlok {

// The runtime's date type: days since 30 December 1899, the fraction being the time of day.
using DateValue = double;

// A calendar date and time of day, whole seconds.
struct DateParts {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    friend bool operator==(const DateParts&, const DateParts&) = default;
};

// Dates and times are pictures as the Windows locale settings write them: d dd ddd dddd,
// M MM MMM MMMM, y yy yyyy, h hh H HH, m mm, s ss, t tt; text in single quotes is literal
// ('' stands for a quote). Text is in the locale's charset.
struct RegionalFormats {
    std::string shortDate = "MM/dd/yy";
    std::string longTime = "HH:mm:ss";
    std::string am = "AM";
    std::string pm = "PM";
    std::string decimalSeparator = ".";
    std::array<std::string, 12> monthNames{};
    std::array<std::string, 12> monthAbbreviations{};
    std::array<std::string, 7> dayNames{};  // Sunday first
    std::array<std::string, 7> dayAbbreviations{};
};

inline constexpr long kSecondsPerDay = 86400;

// The date value of a calendar date and time; nullopt when a field is out of range
// (years 100 to 9999).
std::optional<DateValue> MakeDate(const DateParts& parts);

// The calendar date of the value's integer part and the time of day of the magnitude of its
// fraction, rounded to the second (minus five seconds is 30 December 1899 00:00:05).
DateParts SplitDate(DateValue value);

// The value in whole seconds, rounded; negative values count backwards.
long long TotalSeconds(DateValue value);

// The date value of a signed number of seconds (a clock offset, say).
DateValue FromSeconds(long long seconds);

// The formats readings are compared through. Every reading passes through its text, so a time
// picture without seconds gets them (the 12- or 24-hour form it had), and blanks at the ends of a
// picture go: the general text joins date and time with exactly one.
RegionalFormats ComparisonFormats(RegionalFormats formats);

// The general text of a date value: short date, one space, long time; the date is left out on
// the zero date and the time at midnight exactly (the zero value itself shows its time).
std::string DateToText(DateValue value, const RegionalFormats& formats);

// Reads the general text back, in the regional form or else as YYYY-MM-DD HH:MM:SS; a two-digit
// year falls in the 100 years centred on thisYear. nullopt when the text is no valid date and
// time.
std::optional<DateValue> TextToDate(std::string_view text, const RegionalFormats& formats,
                                    int thisYear);

// Writes the parts through one date or time picture of the regional formats.
std::string FormatPicture(std::string_view picture, const DateParts& parts,
                          const RegionalFormats& formats);

}  // namespace qlok
