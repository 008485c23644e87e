// Module Systray: the tray-mode flag, the tray record and the main-window reference.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/desktop.h"

namespace qlok {
class QLOKfrm;
}

namespace qlok::Systray {

inline constexpr std::int16_t kTrue = -1;
inline constexpr std::int16_t kFalse = 0;

// The main window, set first at start-up; only ResetModuleState clears it.
extern QLOKfrm* MainForm;
// True (-1) while the tray icon stands in for the window.
extern std::int16_t InTrayMode;
// The record of the last Build_Nid; a later delete names the same icon.
extern NotifyIconData TrayIconData;

// The bytes of the character at the start of a text, in some charset.
using CharacterLengthRule = std::function<std::size_t(std::string_view text)>;

// The tooltip field, 64 bytes: the caption (in the system charset) cut to at most 63 bytes
// without splitting a character, a NUL, then spaces.
std::string TipField(std::string_view caption, const CharacterLengthRule& characterLength);

// Whether a mouse message from the icon brings the window back.
bool RestoresWindow(int mouseMessage);

}  // namespace qlok::Systray
