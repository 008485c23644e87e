// The desktop's services for the window logic: programs, message boxes, tray, window menu, log.
#pragma once

#include <QIcon>
#include <QLoggingCategory>
#include <QMenu>
#include <QObject>
#include <QPoint>
#include <QStringList>
#include <QWidget>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop.h"

class QSystemTrayIcon;

Q_DECLARE_LOGGING_CATEGORY(lcActivity)

namespace qlok::qt {

class QtWindow;

// A program and its arguments.
struct Command {
    QString program;
    QStringList arguments;
};

// The first date and time settings tool of the common desktops found in PATH.
std::optional<Command> FindDateTimeSettings();

// Starts the desktop's programs without waiting for them.
class QtShell final : public Shell {
  public:
    bool OpenTextFile(const std::string& path) override;
    bool OpenDateTimeSettings() override;
};

// Modal message boxes over the main window.
class QtMessageBoxes final : public MessageBoxes {
  public:
    // Boxes are centred on parent (any window when null).
    explicit QtMessageBoxes(QWidget* parent) : parent_(parent) {}
    void Show(const std::string& text, const std::string& title, int style) override;

  private:
    QWidget* parent_;
};

// The notification-area icon.
class QtTrayIcons final : public TrayIcons {
  public:
    // The icon shows window's icon; clicks on it reach onMouseMessage as Windows mouse messages.
    QtTrayIcons(QWidget& window, std::function<void(int mouseMessage)> onMouseMessage);
    ~QtTrayIcons() override;
    QtTrayIcons(const QtTrayIcons&) = delete;
    QtTrayIcons& operator=(const QtTrayIcons&) = delete;

    bool Notify(int operation, const NotifyIconData& data) override;
    // Qt takes the locale's bytes as UTF-8.
    std::size_t CharacterLength(std::string_view text) const override;
    // The icon, for looking at it; none before the first add.
    const QSystemTrayIcon* Icon() const { return icon_.get(); }

  private:
    QWidget& window_;
    // Made at the first add: building one asks the desktop (over D-Bus) how to show it, which
    // a start that never goes to the tray need not wait for.
    std::unique_ptr<QSystemTrayIcon> icon_;
    std::function<void(int)> onMouseMessage_;
};

// The front end's own window procedure: carries out the standard commands on the window.
std::intptr_t DefaultWindowProcedure(std::uintptr_t hWnd, std::uint32_t uMsg, std::uintptr_t wParam,
                                     std::intptr_t lParam);

// The window menu. The window manager's own menu cannot be extended, so the window shows
// this one as its context menu: the standard commands, then the appended items.
class QtWindowMenu final : public WindowMenu {
  public:
    // The menu of window; its procedure starts as DefaultWindowProcedure.
    explicit QtWindowMenu(QtWindow& window) : window_(window) {}

    bool AppendItem(std::uint32_t flags, std::uint32_t id, const std::string& text) override;
    // Installs procedure itself: a procedure here is a plain function already.
    WindowProcedure InstallWindowProcedure(MessageProcedure procedure) override;
    std::intptr_t CallWindowProcedure(WindowProcedure procedure, std::uintptr_t hWnd,
                                      std::uint32_t uMsg, std::uintptr_t wParam,
                                      std::intptr_t lParam) override;

    // Fills menu with the commands; choosing one sends it once the menu has closed.
    void Populate(QMenu& menu);
    // Opens the menu at a screen position and returns at once.
    void Popup(QWidget& parent, const QPoint& globalPosition);
    // Hands a command to the installed procedure as WM_SYSCOMMAND.
    std::intptr_t SendCommand(std::uint32_t id);

  private:
    struct Item {
        std::uint32_t flags;
        std::uint32_t id;
        QString text;
    };

    QtWindow& window_;
    std::vector<Item> items_;
    MessageProcedure procedure_ = &DefaultWindowProcedure;
    QObject context_;  // owns the queued commands
};

// Activity lines to the logging category qlok.activity, off unless QT_LOGGING_RULES enables it.
class QtActivityLog final : public ActivityLog {
  public:
    void Line(std::string_view line) override;
};

}  // namespace qlok::qt
