// Services of the desktop around the window: other programs, message boxes, the tray,
// the window menu, and the activity log.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace qlok {

// Starts the desktop's own programs, without waiting for them.
class Shell {
  public:
    virtual ~Shell() = default;
    // Opens a text file in the desktop's viewer for text, in a normal window; false on failure.
    virtual bool OpenTextFile(const std::string& path) = 0;
    // Opens the desktop's date and time settings; false when none could be started.
    virtual bool OpenDateTimeSettings() = 0;
};

inline constexpr int kMbOk = 0;
inline constexpr int kMbIconInformation = 64;

// Modal message boxes.
class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    // Shows text with a title and an OK button; returns when the user closed it.
    virtual void Show(const std::string& text, const std::string& title, int style) = 0;
};

// The tray record in its first, 88-byte form.
struct NotifyIconData {
    std::uint32_t cbSize = 0;
    std::uintptr_t hWnd = 0;
    std::uint32_t uID = 0;
    std::uint32_t uFlags = 0;
    std::uint32_t uCallbackMessage = 0;
    std::uintptr_t hIcon = 0;
    // The tip as text: at most 63 characters, a NUL, then spaces up to 64 characters; each
    // desktop converts it to its own charset when it hands the record over.
    std::string szTip;
};

inline constexpr int kNimAdd = 0;
inline constexpr int kNimDelete = 2;

// The notification area.
class TrayIcons {
  public:
    virtual ~TrayIcons() = default;
    // Adds or deletes the icon the record names; false when the desktop refused.
    virtual bool Shell_NotifyIcon(int operation, const NotifyIconData& data) = 0;
};

// A window procedure: the system calls it with each message of the main window.
using WindowProcedure = std::intptr_t (*)(std::uintptr_t hWnd, std::uint32_t uMsg,
                                          std::uintptr_t wParam, std::intptr_t lParam);

inline constexpr std::uint32_t kMfString = 0x0000;
inline constexpr std::uint32_t kMfSeparator = 0x0800;

// The window menu and the window procedure behind it.
class WindowMenu {
  public:
    virtual ~WindowMenu() = default;
    // Appends an item (or a separator) to the window menu.
    virtual bool AppendMenu(std::uint32_t flags, std::uint32_t id, const std::string& text) = 0;
    // Installs a new window procedure and returns the one it replaces.
    virtual WindowProcedure SetWindowProcedure(WindowProcedure procedure) = 0;
    // Hands a message to a window procedure that was replaced.
    virtual std::intptr_t CallWindowProcedure(WindowProcedure procedure, std::uintptr_t hWnd,
                                              std::uint32_t uMsg, std::uintptr_t wParam,
                                              std::intptr_t lParam) = 0;
};

// The activity log that follows the activity list (off unless the user turns it on).
class ActivityLog {
  public:
    virtual ~ActivityLog() = default;
    // Records one activity-list line.
    virtual void Line(std::string_view line) = 0;
};

}  // namespace qlok
