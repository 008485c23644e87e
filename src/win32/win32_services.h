// Windows services behind the platform interfaces: clock, files, regional formats.
#pragma once

#include <windows.h>

#include <string>

#include "platform/regional.h"
#include "platform/regular_file_system.h"
#include "platform/system_clock.h"

namespace qlok::win32 {

// The system clock; setting it takes SE_SYSTEMTIME_NAME, which only an elevated administrator
// holds. With an owner window, a refusal for want of that right has qlok-setclock.exe set the
// clock once an administrator consents, while the window waits disabled but painting; without
// one (a console program) nobody is asked and the refusal says which rights are needed.
class Win32Clock final : public SystemClock {
  public:
    explicit Win32Clock(HWND owner = nullptr) : owner_(owner) {}
    DateParts LocalNow() const override;
    long UtcOffsetSecondsNow() const override;
    ClockReading PreciseNow() const override;
    int SetSystemTime(const SystemTimeRecord& utc, const ClockReading& arrival) override;
    std::string LastError() const override { return lastError_; }

  private:
    HWND owner_;
    std::string lastError_;
};

// Files through the ANSI calls; an append handle writes with FILE_APPEND_DATA only, so every
// write lands whole at the end of the file, whoever else is appending.
class Win32FileSystem final : public RegularFileSystem {
  public:
    bool FileExists(const std::string& path) const override;

  protected:
    OpenedFile Open(const std::string& path, OpenFor purpose) const override;
};

// The user's locale, read afresh on every call so that a change in the control panel counts.
class Win32Regional final : public RegionalSettings {
  public:
    RegionalFormats Formats() const override;
};

}  // namespace qlok::win32
