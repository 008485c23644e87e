// Start-up timing for benchmarks: with QLOK_STARTUP_MARK set, the moment the first window is
// first exposed is printed on standard error as "startup-mark exposed <monotonic ns> <CPU ns>",
// the CPU time being the process's (CLOCK_PROCESS_CPUTIME_ID).
#pragma once

namespace qlok::qt {

// Watches for the first exposed window when the variable is set; does nothing otherwise.
// Needs a QGuiApplication.
void InstallStartupMark();

}  // namespace qlok::qt
