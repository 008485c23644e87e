// The clock set the way the desktop sets it: through systemd-timedated on the system bus,
// where polkit decides who may; where timedated is absent, by the process itself.
#pragma once

#include <string>

#include "platform/system_clock.h"

namespace qlok::qt {

class TimedateClock final : public SystemClock {
  public:
    // local reads the clock, and sets it where no timedated answers on the system bus;
    // interactive lets polkit ask the user for the right (a window), else it only checks.
    TimedateClock(SystemClock& local, bool interactive)
        : local_(local), interactive_(interactive) {}

    DateParts LocalNow() const override { return local_.LocalNow(); }
    long UtcOffsetSecondsNow() const override { return local_.UtcOffsetSecondsNow(); }
    ClockReading PreciseNow() const override { return local_.PreciseNow(); }
    // Asks timedated to step its clock by the server's lead at arrival, and waits for the answer
    // in a local event loop that takes no user input: the window repaints, timers run.
    int SetSystemTime(const SystemTimeRecord& utc, const ClockReading& arrival) override;
    // What the user can do about the last refusal.
    std::string LastError() const override { return lastError_; }

  private:
    SystemClock& local_;
    bool interactive_;
    std::string lastError_;
};

}  // namespace qlok::qt
