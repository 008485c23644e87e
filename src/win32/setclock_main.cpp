// qlok-setclock.exe: sets the clock for QLOK once an administrator has consented. It takes the
// server's UTC second and the GetTickCount64 reading at the reply's first byte, and ends with 0
// or the Windows error number (87 for arguments it refuses). It reads no file and no network.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "win32/setclock_order.h"

namespace {

// The right is in an administrator's token, disabled until the process enables it.
DWORD EnableSystemTimePrivilege() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
        return GetLastError();
    }
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    DWORD error = ERROR_SUCCESS;
    if (!LookupPrivilegeValueA(nullptr, SE_SYSTEMTIME_NAME, &privileges.Privileges[0].Luid) ||
        !AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr)) {
        error = GetLastError();
    }
    CloseHandle(token);
    return error;  // ERROR_NOT_ALL_ASSIGNED is left to SetSystemTime to report
}

}  // namespace

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*showCommand*/) {
    const int count = __argc;
    char** const arguments = __argv;
    // What it was asked, cut to fit; C strings only, so that no C++ library is linked in.
    char asked[160] = "qlok-setclock:";
    for (int i = 1; i < count; ++i) {
        std::strncat(asked, " ", sizeof asked - std::strlen(asked) - 2);
        std::strncat(asked, arguments[i], sizeof asked - std::strlen(asked) - 2);
    }
    std::strcat(asked, "\n");
    OutputDebugStringA(asked);
    if (count != 3) {
        return ERROR_INVALID_PARAMETER;
    }
    const auto order = qlok::win32::ReadSetClockOrder(arguments[1], arguments[2], GetTickCount64());
    if (!order) {
        return ERROR_INVALID_PARAMETER;
    }
    if (const DWORD error = EnableSystemTimePrivilege(); error != ERROR_SUCCESS) {
        return static_cast<int>(error);
    }
    const qlok::SystemTimeRecord target = qlok::win32::SetClockTarget(*order, GetTickCount64());
    SYSTEMTIME record{};
    record.wYear = target.wYear;
    record.wMonth = target.wMonth;
    record.wDay = target.wDay;
    record.wHour = target.wHour;
    record.wMinute = target.wMinute;
    record.wSecond = target.wSecond;
    return SetSystemTime(&record) ? 0 : static_cast<int>(GetLastError());
}
