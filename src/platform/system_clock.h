// The system clock: read, set, and the local time zone in force now.
#pragma once

#include <cstdint>
#include <string>

#include "platform/types.h"

namespace qlok {

// The UTC clock to the microsecond and a monotonic clock, read together.
struct ClockReading {
    std::int64_t utcMicroseconds = 0;        // since 1970-01-01 00:00:00 UTC
    std::int64_t monotonicMicroseconds = 0;  // from any origin; never steps, counts sleep
    friend bool operator==(const ClockReading&, const ClockReading&) = default;
};

class SystemClock {
  public:
    virtual ~SystemClock() = default;
    // The local date and time now, whole seconds.
    virtual DateParts LocalNow() const = 0;
    // Local time minus UTC, in seconds, as in force at this moment (standard or daylight).
    virtual long UtcOffsetSecondsNow() const = 0;
    // The UTC and monotonic clocks now.
    virtual ClockReading PreciseNow() const = 0;
    // Sets the clock to the server's UTC second utc, carried forward by the whole seconds that
    // have passed since arrival (read with the reply's first byte) when the clock is really set,
    // however long a prompt took (StepTarget); nonzero on success, zero when refused.
    virtual int SetSystemTime(const SystemTimeRecord& utc, const ClockReading& arrival) = 0;
    // Why the last SetSystemTime was refused, in the platform's words: a short reason (one that
    // fits the window), then optionally a line feed and the detail.
    virtual std::string LastError() const = 0;
};

}  // namespace qlok
