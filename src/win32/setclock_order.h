// What qlok-setclock.exe is asked to do, read from its two arguments: the server's UTC second
// and the GetTickCount64 reading taken with the reply's first byte. The program runs elevated, so
// it takes nothing but two plain decimal numbers, a time this century and a recent reading.
// Header only and free of Windows calls: the helper stays small and the rule is tested alone.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "sync/clock_step.h"

namespace qlok::win32 {

struct SetClockOrder {
    std::int64_t utcSeconds = 0;     // since 1970-01-01 00:00:00 UTC
    std::uint64_t arrivalTicks = 0;  // GetTickCount64 at the reply's first byte
};

// How old the arrival reading may be when the helper starts: a consent prompt left open longer
// is answered by a fresh synchronisation.
inline constexpr std::uint64_t kSetClockMaxAgeTicks = 10 * 60 * 1000;

// Digits only, 1 to 19 of them (anything that fits a signed 64-bit number).
constexpr std::optional<std::uint64_t> PlainNumber(std::string_view text) {
    if (text.empty() || text.size() > 19) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return value;
}

// The order, or nothing when the arguments break a rule; nowTicks is GetTickCount64 now.
constexpr std::optional<SetClockOrder> ReadSetClockOrder(std::string_view time,
                                                         std::string_view arrival,
                                                         std::uint64_t nowTicks) {
    const auto seconds = PlainNumber(time);
    const auto ticks = PlainNumber(arrival);
    constexpr auto kEarliest = static_cast<std::uint64_t>(UnixSeconds({2000, 1, 0, 1}));
    constexpr auto kLatest = static_cast<std::uint64_t>(UnixSeconds({2101, 1, 0, 1})) - 1;
    if (!seconds || !ticks || *seconds < kEarliest || *seconds > kLatest || *ticks > nowTicks ||
        nowTicks - *ticks > kSetClockMaxAgeTicks) {
        return std::nullopt;
    }
    return SetClockOrder{static_cast<std::int64_t>(*seconds), *ticks};
}

// The UTC second to set at nowTicks: the server's, carried forward by the whole seconds since
// the reply's first byte.
constexpr SystemTimeRecord SetClockTarget(const SetClockOrder& order, std::uint64_t nowTicks) {
    const ClockReading arrival{0, static_cast<std::int64_t>(order.arrivalTicks) * 1000};
    return UtcRecord(StepTarget(UtcRecord(order.utcSeconds), arrival,
                                static_cast<std::int64_t>(nowTicks) * 1000));
}

}  // namespace qlok::win32
