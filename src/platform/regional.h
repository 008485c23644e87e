// The user's regional formats for dates, times and numbers.
#pragma once

#include <array>
#include <string>

namespace qlok {

// Patterns use strftime conversions (%d %m %y %Y %H %I %M %S %p %b %B %a %A and the
// composites %D %T %R %r %F); text is in the locale's charset.
struct RegionalFormats {
    std::string shortDate = "%m/%d/%y";
    std::string longTime = "%H:%M:%S";
    std::string am = "AM";
    std::string pm = "PM";
    std::string decimalSeparator = ".";
    std::array<std::string, 12> monthNames{};
    std::array<std::string, 12> monthAbbreviations{};
    std::array<std::string, 7> dayNames{};
    std::array<std::string, 7> dayAbbreviations{};
};

class RegionalSettings {
  public:
    virtual ~RegionalSettings() = default;
    // The formats in force now.
    virtual RegionalFormats Formats() const = 0;
};

}  // namespace qlok
