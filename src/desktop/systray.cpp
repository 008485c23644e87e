#include "desktop/systray.h"

#include <algorithm>
#include <cmath>

#include "app/qlokfrm.h"
#include "platform/winapi_values.h"

namespace qlok::Systray {

std::string TipField(std::string_view caption, const CharacterLengthRule& characterLength) {
    constexpr std::size_t kTipBytes = 63;
    std::size_t end = 0;
    while (end < caption.size()) {
        const std::size_t next = end + std::clamp<std::size_t>(characterLength(caption.substr(end)),
                                                               1, caption.size() - end);
        if (next > kTipBytes) {
            break;  // the whole character or none of it
        }
        end = next;
    }
    std::string field(caption.substr(0, end));
    field += '\0';
    field.append(kTipBytes - end, ' ');
    return field;
}

bool RestoresWindow(int mouseMessage) {
    return mouseMessage == win::kWmLButtonUp || mouseMessage == win::kWmLButtonDblClk ||
           mouseMessage == win::kWmRButtonUp;
}

}  // namespace qlok::Systray

namespace qlok {

using namespace Systray;
using namespace win;

void QLOKfrm::Build_Nid() {
    TrayIconData.cbSize = kNotifyIconDataV1Size;
    TrayIconData.hWnd = MainForm->Me.Handle();
    TrayIconData.uID = 1;
    TrayIconData.uFlags = kNifMessage | kNifIcon | kNifTip;
    TrayIconData.uCallbackMessage = kWmMouseMove;
    TrayIconData.hIcon = MainForm->Me.IconHandle();
    TrayIconData.szTip = TipField(MainForm->Me.Caption(), [this](std::string_view text) {
        return platform_.tray.CharacterLength(text);
    });
}

void QLOKfrm::Nid_Refresh() {
    platform_.tray.Notify(kNimDelete, TrayIconData);
    Build_Nid();
    if (!platform_.tray.Notify(kNimAdd, TrayIconData) && InTrayMode != kFalse) {
        // Without an icon the hidden window could not be reached again.
        InTrayMode = kFalse;
        Me.Show();
    }
}

void QLOKfrm::Form_Resize() {
    if (InTrayMode == kFalse) {
        return;
    }
    if (MainForm->Me.State() != WindowState::Minimized) {
        return;
    }
    Build_Nid();
    if (platform_.tray.Notify(kNimAdd, TrayIconData)) {
        MainForm->Me.Hide();
    } else {
        // No notification area: stay minimised on the taskbar instead of vanishing.
        InTrayMode = kFalse;
    }
}

void QLOKfrm::Form_MouseMove(int /*button*/, int /*shift*/, double x, double /*y*/) {
    if (InTrayMode == kFalse) {
        return;
    }
    // The form measures in pixels, so x carries the icon's mouse message unchanged.
    if (!RestoresWindow(static_cast<int>(std::lround(x)))) {
        return;
    }
    MainForm->Me.SetState(WindowState::Normal);
    MainForm->Me.Show();  // setting the state alone may leave a hidden window hidden
    platform_.tray.Notify(kNimDelete, TrayIconData);
    InTrayMode = kFalse;
}

void QLOKfrm::Form_Unload() {
    // Nothing may set the clock or write the history after the window has gone.
    Timer1.SetEnabled(false);
    if (Winsock1.State() != kSckClosed) {
        Winsock1.Close();
    }
    if (InTrayMode != kFalse) {
        platform_.tray.Notify(kNimDelete, TrayIconData);
        InTrayMode = kFalse;  // a click already on its way finds no tray to leave
    }
}

}  // namespace qlok
