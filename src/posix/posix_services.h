// Linux services behind the platform interfaces, needing no toolkit.
#pragma once

#include <ctime>
#include <functional>
#include <string>

#include "platform/regional.h"
#include "platform/regular_file_system.h"
#include "platform/system_clock.h"

namespace qlok::posix {

// Files through open/pread/write; an append is one write on an O_APPEND descriptor.
class PosixFileSystem final : public RegularFileSystem {
  public:
    // Ignores SIGXFSZ for the process: an append past the size limit fails as a full disk.
    // whileWaiting runs between the tries of a lock held elsewhere (a window's event loop).
    explicit PosixFileSystem(std::function<void()> whileWaiting = {});
    bool FileExists(const std::string& path) const override;

  protected:
    OpenedFile Open(const std::string& path, OpenFor purpose) const override;

  private:
    std::function<void()> whileWaiting_;
};

// The real-time clock; setting it needs the right to (CAP_SYS_TIME).
class PosixClock final : public SystemClock {
  public:
    DateParts LocalNow() const override;
    long UtcOffsetSecondsNow() const override;
    ClockReading PreciseNow() const override;
    // Sets the clock with clock_settime, at StepTarget's second.
    int SetSystemTime(const SystemTimeRecord& utc, const ClockReading& arrival) override;
    std::string LastError() const override { return lastError_; }

  private:
    std::string lastError_;
};

// The formats of the process locale: LC_TIME for dates and times, LC_NUMERIC for numbers.
// They are read, and translated to pictures, once for each locale the process switches to.
class PosixRegional final : public RegionalSettings {
  public:
    RegionalFormats Formats() const override;

  private:
    mutable std::string locale_;  // the LC_TIME and LC_NUMERIC names formats_ was read under
    mutable RegionalFormats formats_;
};

}  // namespace qlok::posix
