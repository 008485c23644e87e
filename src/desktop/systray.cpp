#include "desktop/systray.h"

#include <cmath>

#include "app/qlokfrm.h"

namespace qlok::Systray {

QLOKfrm* MainForm = nullptr;
std::int16_t InTrayMode = kFalse;
NotifyIconData TrayIconData{};

std::string TipField(std::string_view caption) {
    constexpr int kTipCharacters = 63;
    auto continuation = [](char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; };
    std::size_t end = 0;
    int characters = 0;
    while (end < caption.size() && characters < kTipCharacters) {
        ++end;
        while (end < caption.size() && continuation(caption[end])) {
            ++end;  // the rest of a multi-byte character
        }
        ++characters;
    }
    std::string field(caption.substr(0, end));
    field += '\0';
    field.append(static_cast<std::size_t>(kTipCharacters - characters), ' ');
    return field;
}

bool RestoresWindow(int mouseMessage) {
    return mouseMessage == kWmLButtonUp || mouseMessage == kWmLButtonDblClk ||
           mouseMessage == kWmRButtonUp;
}

}  // namespace qlok::Systray

namespace qlok {

using namespace Systray;

void QLOKfrm::Build_Nid() {
    TrayIconData.cbSize = 88;
    TrayIconData.hWnd = MainForm->Me.Handle();
    TrayIconData.uID = 1;
    TrayIconData.uFlags = kNifMessage | kNifIcon | kNifTip;
    TrayIconData.uCallbackMessage = kWmMouseMove;
    TrayIconData.hIcon = MainForm->Me.IconHandle();
    TrayIconData.szTip = TipField(MainForm->Me.Caption());
}

void QLOKfrm::Nid_Refresh() {
    platform_.tray.Shell_NotifyIcon(kNimDelete, TrayIconData);
    Build_Nid();
    if (!platform_.tray.Shell_NotifyIcon(kNimAdd, TrayIconData) && InTrayMode != kFalse) {
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
    if (platform_.tray.Shell_NotifyIcon(kNimAdd, TrayIconData)) {
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
    platform_.tray.Shell_NotifyIcon(kNimDelete, TrayIconData);
    InTrayMode = kFalse;
}

void QLOKfrm::Form_Unload() {
    // Nothing may set the clock or write the history after the window has gone.
    Timer1.SetEnabled(false);
    if (Winsock1.State() != 0) {
        Winsock1.Close();
    }
    if (InTrayMode != kFalse) {
        platform_.tray.Shell_NotifyIcon(kNimDelete, TrayIconData);
        InTrayMode = kFalse;  // a click already on its way finds no tray to leave
    }
}

}  // namespace qlok
