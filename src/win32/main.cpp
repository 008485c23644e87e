// QLOK for Windows: checks the PC clock against a Daytime server and sets it.
#include <windows.h>

#include <commctrl.h>

#include "win32/front_end.h"
#include "win32/win32_rules.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int showCommand) {
    // The manifest asks for common controls 6; this loads them, so the controls are themed.
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
    qlok::win32::FrontEnd frontEnd(instance, qlok::win32::ArgumentText(GetCommandLineA()));
    return frontEnd.Run(showCommand);
}
