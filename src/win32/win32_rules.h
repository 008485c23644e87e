// Rules of the Windows front end that need no Windows call.
#pragma once

#include <string>
#include <string_view>

namespace qlok::win32 {

// The argument text as typed after the program's name in a Windows command line, the blanks
// between them dropped.
std::string ArgumentText(std::string_view commandLine);

// The reasons for a clock that was not set, each a short reason, a line feed and the detail
// (the system's own text and its number).

// A refused clock setting: error numbers of a missing right say plainly that QLOK must run as an
// administrator.
std::string ClockRefusal(unsigned long error, std::string_view systemText);

// When qlok-setclock.exe did not set the clock: its exit code, or 1223 when the
// consent prompt was refused or cancelled.
std::string ConsentRefusal(unsigned long error, std::string_view systemText);

// The console program's reason when the clock may not be set: it never asks for
// consent, so it says which rights it needs.
std::string UnattendedRefusal(unsigned long error, std::string_view systemText);

}  // namespace qlok::win32
