// Module Menu: the window menu's three commands and the window procedure that receives them.
#pragma once

#include <cstdint>
#include <string>

#include "platform/desktop.h"

namespace qlok {
class QLOKfrm;
}

namespace qlok::Menu {

inline constexpr std::uint32_t MenuIdMinToTray = 1010;
inline constexpr std::uint32_t MenuIdHelp = 1011;
inline constexpr std::uint32_t MenuIdAbout = 1013;

// The address of the main window's procedure before AddSystemMenuItems replaced it.
extern WindowProcedure PreviousWndProc;

// Appends a separator and the three commands to the window menu and has MainWndProc installed
// as the window's procedure.
void AddSystemMenuItems(QLOKfrm& form, const std::string& minToTrayCaption,
                        const std::string& helpCaption, const std::string& aboutCaption);

// What the window procedure does with one message.
enum class MenuAction { MinToTray, OpenHelp, HelpMissing, About, PassOn };

// The decision table: the three identifiers compared with the whole wParam.
MenuAction DecideMenuAction(std::uint32_t uMsg, std::uintptr_t wParam, bool helpFileExists);

// The replacement window procedure; every message it does not consume goes to PreviousWndProc.
std::intptr_t MainWndProc(std::uintptr_t hWnd, std::uint32_t uMsg, std::uintptr_t wParam,
                          std::intptr_t lParam);

// True when the path names an existing file; the Help command's own test.
bool FileExistsCheck(const std::string& path);

}  // namespace qlok::Menu
