// The desktop's services for the window logic: programs, message boxes, tray, window menu, log.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/desktop.h"

namespace qlok::win32 {

// The full path of a program of the system: in the system folder, else in the Windows folder
// (where it is when the system folder has none of that name).
std::string SystemProgramPath(const char* exe);

// The full path of a file in the folder of this program's own .exe.
std::string PathBesideProgram(const char* name);

// Starts program (a full path: no folder is searched, the current one least of all) with this
// command line, in a normal window that takes the focus, without waiting. False when it could
// not be started.
bool StartProgram(const std::string& program, std::string commandLine);

// Starts the system's Notepad and date and time control panel in a normal window, without
// waiting.
class Win32Shell final : public Shell {
  public:
    bool OpenTextFile(const std::string& path) override;
    bool OpenDateTimeSettings() override;
};

// MessageBoxA over the main window.
class Win32MessageBoxes final : public MessageBoxes {
  public:
    explicit Win32MessageBoxes(HWND owner) : owner_(owner) {}
    void Show(const std::string& text, const std::string& title, int style) override;

  private:
    HWND owner_;
};

// Shell_NotifyIconA with the record in its first, 88-byte form.
class Win32TrayIcons final : public TrayIcons {
  public:
    bool Notify(int operation, const NotifyIconData& data) override;
    std::size_t CharacterLength(std::string_view text) const override;
};

// The system menu, and the window procedure installed with SetWindowLongA: a __stdcall
// trampoline to the logic's procedure.
class Win32WindowMenu final : public WindowMenu {
  public:
    explicit Win32WindowMenu(HWND window) : window_(window) {}

    bool AppendItem(std::uint32_t flags, std::uint32_t id, const std::string& text) override;
    WindowProcedure InstallWindowProcedure(MessageProcedure procedure) override;
    std::intptr_t CallWindowProcedure(WindowProcedure procedure, std::uintptr_t hWnd,
                                      std::uint32_t uMsg, std::uintptr_t wParam,
                                      std::intptr_t lParam) override;

  private:
    HWND window_;
};

// Activity lines to OutputDebugStringA, one call per line, for a debug-output viewer.
class Win32ActivityLog final : public ActivityLog {
  public:
    void Line(std::string_view line) override;
};

}  // namespace qlok::win32
