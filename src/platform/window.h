// The main window as the window logic sees it.
#pragma once

#include <cstdint>
#include <string>

#include "platform/types.h"

namespace qlok {

class Window {
  public:
    virtual ~Window() = default;
    // The text of the title bar.
    virtual std::string Caption() const = 0;
    // Replaces the text of the title bar.
    virtual void SetCaption(const std::string& caption) = 0;
    // Normal, minimised or maximised.
    virtual WindowState State() const = 0;
    // Restores, minimises or maximises the window; runs Form_Resize when the state changes.
    virtual void SetState(WindowState state) = 0;
    // Takes the window off the screen and the taskbar.
    virtual void Hide() = 0;
    // Puts the window on the screen again.
    virtual void Show() = 0;
    // An identifier of the window that the tray record carries.
    virtual std::uintptr_t Handle() const = 0;
    // An identifier of the window's icon that the tray record carries.
    virtual std::uintptr_t IconHandle() const = 0;
};

}  // namespace qlok
