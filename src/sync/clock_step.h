// Where a correction puts the clock. The reply names a UTC second; the clock is set only later
// (the server closes, a person answers a password or consent prompt), so the services that set it
// carry that second forward by the time that passed since the reply's first byte, measured when
// they really set it. Header only: the elevated Windows helper uses it without the rest.
#pragma once

#include <cstdint>

#include "platform/system_clock.h"
#include "platform/types.h"

namespace qlok {

inline constexpr std::int64_t kMicrosecondsPerSecond = 1'000'000;

// Seconds since 1970-01-01 00:00:00 UTC of UTC fields (proleptic Gregorian calendar).
constexpr std::int64_t UnixSeconds(const SystemTimeRecord& utc) {
    // Days from civil: years start in March, so the leap day ends a year.
    const std::int64_t y = std::int64_t{utc.wYear} - (utc.wMonth <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t month = utc.wMonth > 2 ? utc.wMonth - 3 : utc.wMonth + 9;
    const std::int64_t dayOfYear = (153 * month + 2) / 5 + utc.wDay - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const std::int64_t days = era * 146097 + dayOfEra - 719468;
    return days * 86400 + utc.wHour * 3600 + utc.wMinute * 60 + utc.wSecond;
}

// UTC fields of seconds since 1970; day of week and milliseconds stay 0.
constexpr SystemTimeRecord UtcRecord(std::int64_t unixSeconds) {
    const std::int64_t days = (unixSeconds >= 0 ? unixSeconds : unixSeconds - 86399) / 86400;
    const std::int64_t secondOfDay = unixSeconds - days * 86400;
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t dayOfEra = z - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t month = (5 * dayOfYear + 2) / 153;
    const std::int64_t day = dayOfYear - (153 * month + 2) / 5 + 1;
    const std::int64_t civilMonth = month < 10 ? month + 3 : month - 9;
    const std::int64_t year = yearOfEra + era * 400 + (civilMonth <= 2 ? 1 : 0);
    SystemTimeRecord record;
    record.wYear = static_cast<std::uint16_t>(year);
    record.wMonth = static_cast<std::uint16_t>(civilMonth);
    record.wDay = static_cast<std::uint16_t>(day);
    record.wHour = static_cast<std::uint16_t>(secondOfDay / 3600);
    record.wMinute = static_cast<std::uint16_t>(secondOfDay / 60 % 60);
    record.wSecond = static_cast<std::uint16_t>(secondOfDay % 60);
    return record;
}

// The UTC second to set at monotonic time nowMicroseconds: the server's second plus the whole
// seconds that passed since arrival. A reading from before arrival counts as no time passed.
constexpr std::int64_t StepTarget(const SystemTimeRecord& serverUtc, const ClockReading& arrival,
                                  std::int64_t nowMicroseconds) {
    const std::int64_t elapsed = nowMicroseconds - arrival.monotonicMicroseconds;
    return UnixSeconds(serverUtc) + (elapsed > 0 ? elapsed / kMicrosecondsPerSecond : 0);
}

// For a service that adds a step to its own clock when it sets it: the server's second minus the
// UTC clock at arrival, in microseconds (positive when the clock was slow).
constexpr std::int64_t StepMicroseconds(const SystemTimeRecord& serverUtc,
                                        const ClockReading& arrival) {
    return UnixSeconds(serverUtc) * kMicrosecondsPerSecond - arrival.utcMicroseconds;
}

}  // namespace qlok
