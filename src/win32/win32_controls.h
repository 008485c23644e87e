// The window's standard controls behind the window logic's control interfaces.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/controls.h"

namespace qlok::win32 {

// The text of a window or control, in the ANSI code page.
std::string WindowText(HWND window);

// The server box: a CBS_DROPDOWN combo box.
class Win32ComboBox final : public ComboBox {
  public:
    explicit Win32ComboBox(HWND box) : box_(box) {}

    void Clear() override;
    void AddItem(const std::string& item) override;
    int ListCount() const override;
    void SetListIndex(int index) override;
    std::string Text() const override { return WindowText(box_); }

  private:
    HWND box_;
};

// The activity list: a list box with tab stops, so the comparison lines line up. It holds each
// line as ShownLine gives it, and scrolls sideways as far as its widest line reaches.
class Win32ListBox final : public ListBox {
  public:
    explicit Win32ListBox(HWND list) : list_(list) {}

    void Clear() override;
    void AddItem(const std::string& line) override;
    void SetItems(TextLines lines) override;
    int NewIndex() const override { return newIndex_; }
    void SetTopIndex(int index) override;

  private:
    void Append(std::string_view line, HDC dc);
    // A device context with the list's font, for measuring lines; released by the caller.
    HDC MeasuringContext() const;

    HWND list_;
    int newIndex_ = -1;
    int extent_ = 0;  // pixels: the widest line's width, with the margin the list draws
};

// A single-line edit control.
class Win32TextBox final : public TextBox {
  public:
    explicit Win32TextBox(HWND edit) : edit_(edit) {}

    std::string Text() const override { return WindowText(edit_); }
    void SetText(const std::string& text) override { SetWindowTextA(edit_, text.c_str()); }

  private:
    HWND edit_;
};

// A push button.
class Win32Button final : public Button {
  public:
    explicit Win32Button(HWND button) : button_(button) {}

    std::string Caption() const override { return WindowText(button_); }
    void SetCaption(const std::string& caption) override {
        SetWindowTextA(button_, caption.c_str());
    }

  private:
    HWND button_;
};

// A SetTimer timer of the main window; its WM_TIMER messages carry id.
class Win32Timer final : public Timer {
  public:
    Win32Timer(HWND window, UINT_PTR id, int milliseconds)
        : window_(window), id_(id), interval_(milliseconds) {}
    ~Win32Timer() override { SetEnabled(false); }
    Win32Timer(const Win32Timer&) = delete;
    Win32Timer& operator=(const Win32Timer&) = delete;

    int Interval() const override { return interval_; }
    void SetInterval(int milliseconds) override;
    bool Enabled() const override { return enabled_; }
    void SetEnabled(bool enabled) override;

  private:
    HWND window_;
    UINT_PTR id_;
    int interval_;
    bool enabled_ = false;
};

}  // namespace qlok::win32
