// The two calls that set the Windows clock, shared by qlok.exe and the elevated
// qlok-setclock.exe. Header only: the helper links nothing of the rest.
#pragma once

#include <windows.h>

#include "platform/types.h"

namespace qlok::win32 {

// The right to set the clock is disabled in every token until the process enables it; only an
// administrator's token holds it at all. ERROR_NOT_ALL_ASSIGNED is left to SetSystemTime to
// report.
inline DWORD EnableSystemTimePrivilege() {
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
    return error;
}

// Sets the clock to a UTC second, milliseconds 0; false with GetLastError() when refused.
inline bool SetSystemUtc(const SystemTimeRecord& utc) {
    SYSTEMTIME record{};
    record.wYear = utc.wYear;
    record.wMonth = utc.wMonth;
    record.wDay = utc.wDay;
    record.wHour = utc.wHour;
    record.wMinute = utc.wMinute;
    record.wSecond = utc.wSecond;
    return ::SetSystemTime(&record) != FALSE;
}

}  // namespace qlok::win32
