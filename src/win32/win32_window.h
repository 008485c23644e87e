// The main window: its class, the window with its controls, and the window adapter.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/window.h"

namespace qlok::win32 {

// Control identifiers, clear of IDOK and IDCANCEL, which the dialog keys send.
enum ControlId : int {
    kCombo1Id = 101,
    kList1Id,
    kCommand1Id,
    kCommand2Id,
    kCommand3Id,
    kCountDownId,
    kLabel1Id,
};

// Receives the messages of the main window before the system's default handling.
class MessageHandler {
  public:
    virtual ~MessageHandler() = default;
    // True when the message was handled; result is then what the window procedure returns.
    virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
};

// The main window with its controls, laid out at the screen's DPI; created hidden.
class FormWindow {
  public:
    FormWindow(HINSTANCE instance, MessageHandler& handler);
    ~FormWindow();
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    HWND Form() const { return form_; }
    // Destroys the window (and its controls) now, while those its messages reach still live.
    void Destroy();
    HWND Control(ControlId id) const { return GetDlgItem(form_, id); }
    HICON SmallIcon() const { return smallIcon_; }
    // Whether the point (client coordinates) lies on a control rather than the window's surface.
    bool OnControl(POINT point) const;

  private:
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    HFONT controlFont_ = nullptr;
    HWND form_ = nullptr;
};

// The main window as the window logic sees it.
class Win32Window final : public Window {
  public:
    explicit Win32Window(const FormWindow& form) : form_(form) {}

    std::string Caption() const override;
    void SetCaption(const std::string& caption) override;
    WindowState State() const override;
    void SetState(WindowState state) override;
    void Hide() override;
    void Show() override;
    std::uintptr_t Handle() const override;
    std::uintptr_t IconHandle() const override;

  private:
    const FormWindow& form_;
};

}  // namespace qlok::win32
