#include "win32/win32_controls.h"

namespace qlok::win32 {

std::string WindowText(HWND window) {
    const int length = GetWindowTextLengthA(window);
    if (length <= 0) {
        return {};
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

void Win32ComboBox::Clear() {
    SendMessageA(box_, CB_RESETCONTENT, 0, 0);
    SetWindowTextA(box_, "");
}

void Win32ComboBox::AddItem(const std::string& item) {
    SendMessageA(box_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

int Win32ComboBox::ListCount() const {
    return static_cast<int>(SendMessageA(box_, CB_GETCOUNT, 0, 0));
}

void Win32ComboBox::SetListIndex(int index) {
    if (index >= 0 && index < ListCount()) {
        SendMessageA(box_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
}

void Win32ListBox::Clear() {
    SendMessageA(list_, LB_RESETCONTENT, 0, 0);
    newIndex_ = -1;
    extent_ = 0;
    SendMessageA(list_, LB_SETHORIZONTALEXTENT, 0, 0);
}

void Win32ListBox::AddItem(const std::string& line) {
    const HDC dc = MeasuringContext();
    Append(line, dc);
    ReleaseDC(list_, dc);
}

HDC Win32ListBox::MeasuringContext() const {
    const HDC dc = GetDC(list_);
    SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(list_, WM_GETFONT, 0, 0)));
    return dc;
}

void Win32ListBox::Append(std::string_view line, HDC dc) {
    const std::string shown = ShownLine(line);  // a NUL would end the text early
    const LRESULT index =
        SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown.c_str()));
    if (index >= 0) {
        newIndex_ = static_cast<int>(index);
    }
    // Tabs measured at the list's own stops (no stops given: every eight average characters),
    // and the few pixels the list leaves on either side of an item.
    constexpr int kItemMargin = 6;
    const DWORD size =
        GetTabbedTextExtentA(dc, shown.c_str(), static_cast<int>(shown.size()), 0, nullptr);
    const int width = LOWORD(size) + kItemMargin;
    if (size != 0 && width > extent_) {
        extent_ = width;
        SendMessageA(list_, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(extent_), 0);
    }
}

void Win32ListBox::SetItems(TextLines lines) {
    // One repaint for the whole history, and the memory for it taken at once.
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        bytes += lines[i].size() + 1;
    }
    SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
    Clear();
    SendMessageA(list_, LB_INITSTORAGE, lines.size(), static_cast<LPARAM>(bytes));
    const HDC dc = MeasuringContext();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        Append(lines[i], dc);
    }
    ReleaseDC(list_, dc);
    SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
}

void Win32ListBox::SetTopIndex(int index) {
    SendMessageA(list_, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
}

void Win32Timer::SetInterval(int milliseconds) {
    interval_ = milliseconds;
    if (enabled_) {
        SetEnabled(true);  // a running timer starts the new interval afresh
    }
}

void Win32Timer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (enabled) {
        // Setting a running timer again restarts its interval.
        SetTimer(window_, id_, static_cast<UINT>(interval_ > 0 ? interval_ : USER_TIMER_MINIMUM),
                 nullptr);
    } else {
        KillTimer(window_, id_);
    }
}

}  // namespace qlok::win32
