#include "win32/win32_window.h"

#include "app/layout.h"
#include "app/texts.h"
#include "win32/resource.h"
#include "win32/win32_controls.h"

namespace qlok::win32 {

namespace {

constexpr char kClassName[] = "QLOKfrm";

LRESULT CALLBACK FormProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* handler = reinterpret_cast<MessageHandler*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    LRESULT result = 0;
    if (handler != nullptr && handler->HandleMessage(message, wParam, lParam, result)) {
        return result;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HICON LoadIconSized(HINSTANCE instance, int widthMetric, int heightMetric) {
    return static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(QLOK_ICON), IMAGE_ICON,
                                         GetSystemMetrics(widthMetric),
                                         GetSystemMetrics(heightMetric), 0));
}

}  // namespace

FormWindow::FormWindow(HINSTANCE instance, MessageHandler& handler) {
    // The layout is in twips; the screen's real DPI makes pixels of it.
    const HDC screen = GetDC(nullptr);
    const int dpiX = GetDeviceCaps(screen, LOGPIXELSX);
    const int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    const auto pixels = [dpiX, dpiY](const layout::Rect& twips) {
        return RECT{layout::ToPixels(twips.left, dpiX), layout::ToPixels(twips.top, dpiY),
                    layout::ToPixels(twips.left + twips.width, dpiX),
                    layout::ToPixels(twips.top + twips.height, dpiY)};
    };

    bigIcon_ = LoadIconSized(instance, SM_CXICON, SM_CYICON);
    smallIcon_ = LoadIconSized(instance, SM_CXSMICON, SM_CYSMICON);
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = &FormProcedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = bigIcon_;
    windowClass.hIconSm = smallIcon_;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kClassName;
    RegisterClassExA(&windowClass);

    // The client area, not the frame, stands at the fixed place.
    constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    constexpr DWORD kExStyle = WS_EX_CONTROLPARENT | WS_EX_APPWINDOW;
    RECT frame = pixels(layout::kClientArea);
    AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    const std::string caption(text::kCaption);
    form_ = CreateWindowExA(kExStyle, kClassName, caption.c_str(), kStyle, frame.left, frame.top,
                            frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                            instance, &handler);

    // "MS Sans Serif" 8.25 point, regular, character set 0; the system maps it where missing.
    controlFont_ =
        CreateFontA(-layout::ControlFontPixels(dpiY), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                    ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                    DEFAULT_PITCH | FF_SWISS, std::string(layout::kControlFont).c_str());
    // Created in tab order: the dialog keys move the focus in this order.
    const auto add = [&](const char* kind, std::string_view text, DWORD style, DWORD exStyle,
                         const layout::Rect& twips, ControlId id, int extraHeight = 0) {
        const RECT place = pixels(twips);
        const HWND control = CreateWindowExA(
            exStyle, kind, std::string(text).c_str(), WS_CHILD | WS_VISIBLE | style, place.left,
            place.top, place.right - place.left, place.bottom - place.top + extraHeight, form_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(controlFont_), FALSE);
    };
    // A drop-down's height includes its list: room for eight servers.
    add("COMBOBOX", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0,
        layout::kCombo1, kCombo1Id, 8 * layout::ToPixels(layout::kCombo1.height, dpiY));
    add("LISTBOX", "",
        WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_USETABSTOPS | LBS_NOINTEGRALHEIGHT,
        WS_EX_CLIENTEDGE, layout::kList1, kList1Id);
    add("BUTTON", text::kResync, WS_TABSTOP | BS_PUSHBUTTON, 0, layout::kCommand1, kCommand1Id);
    add("BUTTON", text::kShowClock, WS_TABSTOP | BS_PUSHBUTTON, 0, layout::kCommand2, kCommand2Id);
    add("BUTTON", text::kRepeat, WS_TABSTOP | BS_PUSHBUTTON, 0, layout::kCommand3, kCommand3Id);
    add("EDIT", text::kCountDownDefault, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
        layout::kCountDown, kCountDownId);
    add("STATIC", text::kMins, SS_LEFT, 0, layout::kLabel1, kLabel1Id);
}

FormWindow::~FormWindow() {
    Destroy();
    DeleteObject(controlFont_);
    DestroyIcon(bigIcon_);
    DestroyIcon(smallIcon_);
}

void FormWindow::Destroy() {
    if (IsWindow(form_)) {
        DestroyWindow(form_);
    }
}

bool FormWindow::OnControl(POINT point) const {
    const HWND child = ChildWindowFromPointEx(form_, point, CWP_SKIPINVISIBLE);
    return child != nullptr && child != form_;
}

std::string Win32Window::Caption() const {
    return WindowText(form_.Form());
}

void Win32Window::SetCaption(const std::string& caption) {
    SetWindowTextA(form_.Form(), caption.c_str());
}

WindowState Win32Window::State() const {
    if (IsIconic(form_.Form())) {
        return WindowState::Minimized;
    }
    return IsZoomed(form_.Form()) ? WindowState::Maximized : WindowState::Normal;
}

void Win32Window::SetState(WindowState state) {
    // Each call sends WM_SIZE at once when the state changes, which runs Form_Resize.
    switch (state) {
        case WindowState::Minimized:
            ShowWindow(form_.Form(), SW_MINIMIZE);
            break;
        case WindowState::Maximized:
            ShowWindow(form_.Form(), SW_MAXIMIZE);
            break;
        case WindowState::Normal:
            if (IsIconic(form_.Form())) {
                // A window minimised from maximised would come back maximised: forget that
                // while it is still minimised, then restore it.
                WINDOWPLACEMENT placement{};
                placement.length = sizeof placement;
                GetWindowPlacement(form_.Form(), &placement);
                placement.flags &= ~static_cast<UINT>(WPF_RESTORETOMAXIMIZED);
                placement.showCmd = SW_SHOWMINNOACTIVE;
                SetWindowPlacement(form_.Form(), &placement);
            }
            ShowWindow(form_.Form(), SW_RESTORE);
            if (IsZoomed(form_.Form())) {
                ShowWindow(form_.Form(), SW_RESTORE);  // where the flag is not forgotten (Wine)
            }
            break;
    }
}

void Win32Window::Hide() {
    ShowWindow(form_.Form(), SW_HIDE);
}

void Win32Window::Show() {
    ShowWindow(form_.Form(), SW_SHOW);
    SetForegroundWindow(form_.Form());
}

std::uintptr_t Win32Window::Handle() const {
    return reinterpret_cast<std::uintptr_t>(form_.Form());
}

std::uintptr_t Win32Window::IconHandle() const {
    return reinterpret_cast<std::uintptr_t>(form_.SmallIcon());
}

}  // namespace qlok::win32
