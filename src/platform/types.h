// Plain values shared by the window logic and the front ends.
#pragma once

#include <cstdint>

#include "runtime/datetime.h"

namespace qlok {

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
