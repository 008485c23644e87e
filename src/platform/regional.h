// The user's regional formats for dates, times and numbers.
#pragma once

#include <array>
#include <string>

namespace qlok {

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

class RegionalSettings {
  public:
    virtual ~RegionalSettings() = default;
    // The formats in force now.
    virtual RegionalFormats Formats() const = 0;
};

}  // namespace qlok
