// The window logic's headers after a full <windows.h>, as a Win32 front end includes them.
#include <windows.h>

#include "app/qlokfrm.h"
#include "desktop/menu.h"
#include "desktop/module_state.h"
#include "desktop/systray.h"
#include "platform/controls.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/regional.h"
#include "platform/socket.h"
#include "platform/system_clock.h"
#include "platform/types.h"
#include "platform/winapi_values.h"
#include "platform/window.h"
#include "sync/daytime.h"
#include "sync/history.h"

using namespace qlok;

// The shape of the front end's window procedure: the real calling convention, forwarding.
static LRESULT CALLBACK Trampoline(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return Menu::MainWndProc(reinterpret_cast<std::uintptr_t>(hWnd), uMsg, wParam, lParam);
}

int main() {
    SystemTimeRecord record{};
    ::SYSTEMTIME native{};
    native.wYear = record.wYear;
    const WNDPROC previous = reinterpret_cast<WNDPROC>(Menu::PreviousWndProc);
    // The core's copies of the numbers are the system's.
    static_assert(win::kWmSysCommand == WM_SYSCOMMAND && win::kWmMouseMove == WM_MOUSEMOVE &&
                  win::kWmLButtonUp == WM_LBUTTONUP && win::kWmLButtonDblClk == WM_LBUTTONDBLCLK &&
                  win::kWmRButtonUp == WM_RBUTTONUP);
    static_assert(win::kScMinimize == SC_MINIMIZE && win::kScMaximize == SC_MAXIMIZE &&
                  win::kScClose == SC_CLOSE && win::kScRestore == SC_RESTORE);
    static_assert(win::kMfString == MF_STRING && win::kMfSeparator == MF_SEPARATOR &&
                  win::kMbOk == MB_OK && win::kMbIconMask == MB_ICONMASK &&
                  win::kMbIconError == MB_ICONERROR && win::kMbIconQuestion == MB_ICONQUESTION &&
                  win::kMbIconWarning == MB_ICONWARNING &&
                  win::kMbIconInformation == MB_ICONINFORMATION);
    static_assert(win::kNifMessage == NIF_MESSAGE && win::kNifIcon == NIF_ICON &&
                  win::kNifTip == NIF_TIP && win::kNimAdd == NIM_ADD &&
                  win::kNimDelete == NIM_DELETE);  // the V1 size: in win32_desktop.cpp
    return IsInStep(0.0) && previous != &Trampoline && native.wYear == 0 ? 0 : 1;
}
