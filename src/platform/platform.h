// Everything a front end hands to the window: its controls and the desktop's services.
#pragma once

#include "platform/controls.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/one_shot_timer.h"
#include "platform/regional.h"
#include "platform/socket.h"
#include "platform/system_clock.h"
#include "platform/window.h"

namespace qlok {

struct Platform {
    Window& window;
    ComboBox& combo1;
    ListBox& list1;
    Button& command1;
    Button& command2;
    Button& command3;
    TextBox& countDown;
    Timer& timer1;
    Socket& winsock1;
    SystemClock& clock;
    RegionalSettings& regional;
    FileSystem& files;
    Shell& shell;
    MessageBoxes& messageBoxes;
    TrayIcons& tray;
    WindowMenu& windowMenu;
    ActivityLog& log;
    OneShotTimer& requestDelay;  // holds a request to a server that was asked moments ago
    OneShotTimer& wakeDelay;     // the resync after the computer wakes from sleep
};

}  // namespace qlok
