#include "win32/win32_one_shot_timer.h"

#include <utility>

namespace qlok::win32 {

void Win32OneShotTimer::Start(int milliseconds, std::function<void()> callback) {
    Stop();
    callback_ = std::move(callback);
    if (milliseconds <= 0) {
        PostMessageA(window_, kPostedMessage, id_, generation_);
    } else {
        SetTimer(window_, id_, static_cast<UINT>(milliseconds), nullptr);
    }
}

void Win32OneShotTimer::Stop() {
    KillTimer(window_, id_);
    ++generation_;
    callback_ = nullptr;
}

bool Win32OneShotTimer::Fire(UINT message, WPARAM wParam, LPARAM lParam) {
    if (wParam != id_) {
        return false;
    }
    if (message == kPostedMessage && lParam != generation_) {
        return true;  // posted for a call since replaced or cancelled
    }
    std::function<void()> callback = std::exchange(callback_, nullptr);
    Stop();
    if (callback) {
        callback();
    }
    return true;
}

}  // namespace qlok::win32
