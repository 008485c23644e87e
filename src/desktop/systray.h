// Module Systray: the tray-mode flag, the tray record and the main-window reference.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/desktop.h"

namespace qlok {
class QLOKfrm;
}

namespace qlok::Systray {

inline constexpr std::int16_t kTrue = -1;
inline constexpr std::int16_t kFalse = 0;

inline constexpr std::uint32_t kNifMessage = 1;
inline constexpr std::uint32_t kNifIcon = 2;
inline constexpr std::uint32_t kNifTip = 4;
inline constexpr std::uint32_t kWmMouseMove = 0x200;
inline constexpr int kWmLButtonUp = 514;
inline constexpr int kWmLButtonDblClk = 515;
inline constexpr int kWmRButtonUp = 517;

// The main window, set first at start-up and never cleared.
extern QLOKfrm* MainForm;
// True (-1) while the tray icon stands in for the window.
extern std::int16_t InTrayMode;
// The record of the last Build_Nid; a later delete names the same icon.
extern NotifyIconData TrayIconData;

// The tooltip field: the caption cut to 63 characters (UTF-8 is counted by character), a
// NUL, then spaces up to 64 characters.
std::string TipField(std::string_view caption);

// Whether a mouse message from the icon brings the window back.
bool RestoresWindow(int mouseMessage);

}  // namespace qlok::Systray
