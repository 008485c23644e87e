// Services of the desktop around the window: other programs, message boxes, the tray,
// the window menu, and the activity log.
#pragma once

#include <cstddef>
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

// Modal message boxes.
class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    // Shows text with a title and an OK button (style: win::kMb* values); returns when the
    // user closed it.
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
    // The tip's 64 bytes in the system charset: at most 63 bytes of text, a NUL, then spaces.
    std::string szTip;
};

// The notification area.
class TrayIcons {
  public:
    virtual ~TrayIcons() = default;
    // Adds (win::kNimAdd) or deletes (win::kNimDelete) the icon the record names; false when
    // the desktop refused.
    virtual bool Notify(int operation, const NotifyIconData& data) = 0;
    // How many bytes the system charset's character at the start of text takes (1 for a byte
    // that starts no valid character); the tip is cut between characters.
    virtual std::size_t CharacterLength(std::string_view text) const = 0;
};

// The window-procedure address: opaque to the logic, which only keeps it and hands it back.
using WindowProcedure = std::uintptr_t;

// A window procedure of the logic, in the language's own calling convention.
using MessageProcedure = std::intptr_t (*)(std::uintptr_t hWnd, std::uint32_t uMsg,
                                           std::uintptr_t wParam, std::intptr_t lParam);

// The window menu and the window procedure behind it.
class WindowMenu {
  public:
    virtual ~WindowMenu() = default;
    // Appends an item (flags win::kMfString) or a separator (win::kMfSeparator) to the menu.
    virtual bool AppendItem(std::uint32_t flags, std::uint32_t id, const std::string& text) = 0;
    // Makes procedure the window's procedure (through one of the front end's own where the
    // system calls procedures differently); returns the address of the one it replaces.
    virtual WindowProcedure InstallWindowProcedure(MessageProcedure procedure) = 0;
    // Hands a message to the window procedure at that address, one that was replaced.
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
