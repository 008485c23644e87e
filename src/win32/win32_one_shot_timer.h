// The one-shot timer on the window's message loop.
#pragma once

#include <windows.h>

#include <functional>

#include "platform/one_shot_timer.h"

namespace qlok::win32 {

// The window message of a one-shot call due at once: wParam the timer's id, lParam its Start.
inline constexpr UINT kPostedMessage = WM_APP + 3;

// A one-shot call through the window: a posted message when due at once, else SetTimer.
class Win32OneShotTimer final : public OneShotTimer {
  public:
    Win32OneShotTimer(HWND window, UINT_PTR id) : window_(window), id_(id) {}
    ~Win32OneShotTimer() override { Stop(); }
    Win32OneShotTimer(const Win32OneShotTimer&) = delete;
    Win32OneShotTimer& operator=(const Win32OneShotTimer&) = delete;

    void Start(int milliseconds, std::function<void()> callback) override;
    void Stop() override;
    // WM_TIMER or kPostedMessage with their wParam and lParam; true when it was this timer's.
    bool Fire(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    HWND window_;
    UINT_PTR id_;
    LPARAM generation_ = 0;  // a posted call of an earlier Start is dropped
    std::function<void()> callback_;
};

}  // namespace qlok::win32
