#include "win32/win32_rules.h"

namespace qlok::win32 {

std::string ArgumentText(std::string_view commandLine) {
    // The C runtime's reading, which WinMain's lpCmdLine follows: a quoted name may hold
    // blanks and ends at its closing quote; an unquoted one ends at the first blank.
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    std::size_t at = 0;
    if (!commandLine.empty() && commandLine.front() == '"') {
        const std::size_t close = commandLine.find('"', 1);
        at = close == std::string_view::npos ? commandLine.size() : close + 1;
    } else {
        while (at < commandLine.size() && !blank(commandLine[at])) {
            ++at;
        }
    }
    while (at < commandLine.size() && blank(commandLine[at])) {
        ++at;
    }
    return std::string(commandLine.substr(at));
}

namespace {

// The system's own text for an error, with its number.
std::string WindowsSays(unsigned long error, std::string_view systemText) {
    return "Windows says: " + std::string(systemText) + " (" + std::to_string(error) + ")";
}

bool IsMissingRight(unsigned long error) {
    return error == 5 || error == 1314;  // access denied, privilege not held
}

}  // namespace

std::string ClockRefusal(unsigned long error, std::string_view systemText) {
    if (IsMissingRight(error)) {
        return "QLOK must run as an administrator to set the clock\n"
               "Right-click it, Run as administrator. " +
               WindowsSays(error, systemText);
    }
    return "Windows refused to set the clock\n" + WindowsSays(error, systemText);
}

std::string ConsentRefusal(unsigned long error, std::string_view systemText) {
    if (error == 1223) {  // ERROR_CANCELLED: the prompt was refused or closed
        return "the administrator's consent was not given";
    }
    return "qlok-setclock.exe did not set the clock\n" + WindowsSays(error, systemText);
}

std::string UnattendedRefusal(unsigned long error, std::string_view systemText) {
    if (!IsMissingRight(error)) {
        return ClockRefusal(error, systemText);
    }
    return "qlok-sync.exe needs the right to set the clock\n"
           "Run it as SYSTEM or with highest privileges. " +
           WindowsSays(error, systemText);
}

}  // namespace qlok::win32
