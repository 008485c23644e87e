// Plain values shared by the window logic and the front ends.
#pragma once

#include <cstdint>

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

// The Windows clock record: eight 16-bit fields; day of week and milliseconds stay 0 here.
struct SystemTimeRecord {
    std::uint16_t wYear = 0;
    std::uint16_t wMonth = 0;
    std::uint16_t wDayOfWeek = 0;
    std::uint16_t wDay = 0;
    std::uint16_t wHour = 0;
    std::uint16_t wMinute = 0;
    std::uint16_t wSecond = 0;
    std::uint16_t wMilliseconds = 0;
    friend bool operator==(const SystemTimeRecord&, const SystemTimeRecord&) = default;
};

enum class WindowState { Normal = 0, Minimized = 1, Maximized = 2 };

}  // namespace qlok
