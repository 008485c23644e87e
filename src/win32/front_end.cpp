#include "win32/front_end.h"

#include <utility>

#include "app/layout.h"
#include "sync/winsock_events.h"

namespace qlok::win32 {

namespace {

constexpr UINT_PTR kTimer1Id = 1;  // 2 and 3 are the socket's
constexpr UINT_PTR kRequestDelayId = 4;
constexpr UINT_PTR kWakeDelayId = 5;

// The x and y of a mouse message's lParam, signed.
POINT MousePoint(LPARAM lParam) {
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

}  // namespace

FrontEnd::FrontEnd(HINSTANCE instance, std::string commandLine)
    : window_(instance, *this),
      me_(window_),
      combo1_(window_.Control(kCombo1Id)),
      list1_(window_.Control(kList1Id)),
      command1_(window_.Control(kCommand1Id)),
      command2_(window_.Control(kCommand2Id)),
      command3_(window_.Control(kCommand3Id)),
      countDown_(window_.Control(kCountDownId)),
      timer1_(window_.Form(), kTimer1Id, layout::kTimerInterval),
      clock_(window_.Form()),
      winsock1_(window_.Form(), clock_, WinsockEvents(form_)),
      messageBoxes_(window_.Form()),
      windowMenu_(window_.Form()),
      requestDelay_(window_.Form(), kRequestDelayId),
      wakeDelay_(window_.Form(), kWakeDelayId),
      platform_{me_,         combo1_,    list1_,        command1_,           command2_,
                command3_,   countDown_, timer1_,       winsock1_.Control(), clock_,
                regional_,   files_,     shell_,        messageBoxes_,       tray_,
                windowMenu_, log_,       requestDelay_, wakeDelay_},
      form_(platform_, std::move(commandLine)) {
    ready_ = true;
}

FrontEnd::~FrontEnd() {
    // The window goes first, while everything its last messages reach still lives.
    window_.Destroy();
    ready_ = false;
}

void FrontEnd::Start(int showCommand) {
    form_.Form_Load();
    loaded_ = true;
    ShowWindow(window_.Form(), showCommand);
    UpdateWindow(window_.Form());
    SetFocus(window_.Control(kCombo1Id));
}

int FrontEnd::Run(int showCommand) {
    Start(showCommand);
    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        // The dialog keys: Tab and the arrows move the focus between the controls.
        if (!IsDialogMessageA(window_.Form(), &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return static_cast<int>(message.wParam);
}

void FrontEnd::Command(int id, int code) {
    if (code == BN_CLICKED) {
        switch (id) {
            case kCommand1Id:
                form_.Command1_Click();
                return;
            case kCommand2Id:
                form_.Command2_Click();
                return;
            case kCommand3Id:
                form_.Command3_Click();
                return;
            default:
                return;
        }
    }
    // A line chosen with the mouse or the arrow keys; the list's own changes send nothing.
    if (id == kList1Id && code == LBN_SELCHANGE) {
        form_.List1_Click();
    }
}

bool FrontEnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (!ready_) {
        return false;
    }
    result = 0;
    if ((message == WM_TIMER || message == kPostedMessage) &&
        (requestDelay_.Fire(message, wParam, lParam) || wakeDelay_.Fire(message, wParam, lParam))) {
        return true;
    }
    switch (message) {
        case WM_COMMAND:
            Command(LOWORD(wParam), HIWORD(wParam));
            return true;
        case WM_TIMER:
            if (wParam == kTimer1Id) {
                if (timer1_.Enabled()) {  // a tick already queued when it was switched off
                    form_.Timer1_Timer();
                }
                return true;
            }
            return winsock1_.HandleMessage(message, wParam, lParam);
        case WM_SIZE:
            if (loaded_) {
                form_.Form_Resize();
            }
            return true;
        case WM_LBUTTONDBLCLK:
            if (!window_.OnControl(MousePoint(lParam))) {
                form_.Form_DblClick();
            }
            return true;
        case WM_MOUSEMOVE: {
            // The tray icon's callbacks come as this message too, with the mouse message in
            // the place of x; the window is hidden then, so no control can be under it.
            const POINT point = MousePoint(lParam);
            if (!loaded_ || (IsWindowVisible(window_.Form()) && window_.OnControl(point))) {
                return true;
            }
            form_.Form_MouseMove(
                MouseButtons((wParam & MK_LBUTTON) != 0, (wParam & MK_RBUTTON) != 0,
                             (wParam & MK_MBUTTON) != 0),
                ShiftKeys((wParam & MK_SHIFT) != 0, (wParam & MK_CONTROL) != 0,
                          GetKeyState(VK_MENU) < 0),
                point.x, point.y);
            return true;
        }
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                const HWND focus = GetFocus();
                focus_ = IsChild(window_.Form(), focus) ? focus : nullptr;
            }
            return false;
        case WM_SETFOCUS:
            // The window itself takes no keys: the focus goes back to its control.
            SetFocus(focus_ != nullptr && IsWindow(focus_) ? focus_ : window_.Control(kCombo1Id));
            return true;
        case WM_CLOSE:
            form_.Form_Unload();
            window_.Destroy();
            return true;
        case WM_DESTROY:
            PostQuitMessage(0);
            return true;
        case WM_POWERBROADCAST:
            if (wParam == PBT_APMRESUMEAUTOMATIC) {
                form_.Resumed();
            }
            result = TRUE;
            return true;
        case WM_ENDSESSION:
            if (wParam != FALSE) {
                form_.Form_Unload();  // the session ends the process without WM_CLOSE
            }
            return true;
        default:
            if (message == taskbarCreated_ && taskbarCreated_ != 0 && form_.InTray()) {
                // A restarted taskbar has lost the icon that stands in for the hidden window.
                form_.Nid_Refresh();
                return true;
            }
            return winsock1_.HandleMessage(message, wParam, lParam);
    }
}

}  // namespace qlok::win32
