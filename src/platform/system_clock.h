// The system clock: read, set, and the local time zone in force now.
#pragma once

#include <string>

#include "platform/types.h"

namespace qlok {

class SystemClock {
  public:
    virtual ~SystemClock() = default;
    // The local date and time now, whole seconds.
    virtual DateParts LocalNow() const = 0;
    // Local time minus UTC, in seconds, as in force at this moment (standard or daylight).
    virtual long UtcOffsetSecondsNow() const = 0;
    // Sets the clock from UTC fields, whole seconds; nonzero on success, zero when refused.
    virtual int SetSystemTime(const SystemTimeRecord& utc) = 0;
    // Why the last SetSystemTime was refused, in the platform's words.
    virtual std::string LastError() const = 0;
};

}  // namespace qlok
