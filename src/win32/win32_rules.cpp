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

int TwipsToPixels(int twips, int dpi) {
    return static_cast<int>(static_cast<long long>(twips) * dpi / 1440);
}

std::string ClockRefusal(unsigned long error, std::string_view systemText) {
    constexpr unsigned long kAccessDenied = 5;
    constexpr unsigned long kPrivilegeNotHeld = 1314;
    std::string reason;
    if (error == kAccessDenied || error == kPrivilegeNotHeld) {
        reason =
            "QLOK must run as an administrator to set the clock (right-click it, Run as "
            "administrator). ";
    }
    reason += "Windows says: ";
    reason += systemText;
    reason += " (" + std::to_string(error) + ")";
    return reason;
}

std::string ConsentRefusal(unsigned long error, std::string_view systemText) {
    if (error == 1223) {  // ERROR_CANCELLED: the prompt was refused or closed
        return "the administrator's consent was not given";
    }
    return "Windows says: " + std::string(systemText) + " (" + std::to_string(error) + ")";
}

std::string UnattendedRefusal(unsigned long error, std::string_view systemText) {
    if (error != 5 && error != 1314) {
        return ClockRefusal(error, systemText);
    }
    return "qlok-sync.exe needs the right to set the clock: run it as SYSTEM or with highest "
           "privileges. " +
           ConsentRefusal(error, systemText);
}

}  // namespace qlok::win32
