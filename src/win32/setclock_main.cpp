// qlok-setclock.exe: sets the clock for QLOK once an administrator has consented. It takes the
// server's UTC second and the GetTickCount64 reading at the reply's first byte, and ends with 0
// or the Windows error number (87 for arguments it refuses). It reads no file and no network.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "win32/set_system_time.h"
#include "win32/setclock_order.h"

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
    if (const DWORD error = qlok::win32::EnableSystemTimePrivilege(); error != ERROR_SUCCESS) {
        return static_cast<int>(error);
    }
    const qlok::SystemTimeRecord target = qlok::win32::SetClockTarget(*order, GetTickCount64());
    return qlok::win32::SetSystemUtc(target) ? 0 : static_cast<int>(GetLastError());
}
