// The Win32 front end put together: the window, every adapter, the services and the logic.
#pragma once

#include <windows.h>

#include <string>

#include "app/qlokfrm.h"
#include "platform/platform.h"
#include "win32/win32_controls.h"
#include "win32/win32_desktop.h"
#include "win32/win32_services.h"
#include "win32/win32_socket.h"
#include "win32/win32_window.h"

namespace qlok::win32 {

class FrontEnd final : public MessageHandler {
  public:
    // Builds the window (not shown) and its adapters; commandLine is the argument text.
    FrontEnd(HINSTANCE instance, std::string commandLine);
    ~FrontEnd() override;
    FrontEnd(const FrontEnd&) = delete;
    FrontEnd& operator=(const FrontEnd&) = delete;

    // Runs the load handler, then shows the window as showCommand asks.
    void Start(int showCommand);
    // Start, then the message loop until the window is closed; the program's exit code.
    int Run(int showCommand);

    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    // A control's notification (WM_COMMAND).
    void Command(int id, int code);

    bool ready_ = false;  // messages sent while the window is being built reach nothing
    FormWindow window_;
    Win32Window me_;
    Win32ComboBox combo1_;
    Win32ListBox list1_;
    Win32Button command1_;
    Win32Button command2_;
    Win32Button command3_;
    Win32TextBox countDown_;
    Win32Timer timer1_;
    Win32Clock clock_;
    Win32Socket winsock1_;
    Win32Regional regional_;
    Win32FileSystem files_;
    Win32Shell shell_;
    Win32MessageBoxes messageBoxes_;
    Win32TrayIcons tray_;
    Win32WindowMenu windowMenu_;
    Win32ActivityLog log_;
    Win32OneShotTimer requestDelay_;
    Win32OneShotTimer wakeDelay_;
    Platform platform_;
    QLOKfrm form_;
    UINT taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
    bool loaded_ = false;   // Form_Load has run
    HWND focus_ = nullptr;  // the control that had the focus when the window lost it
};

}  // namespace qlok::win32
