#include "qt/qt_desktop.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/winapi_values.h"
#include "qt/main_window.h"
#include "qt/qt_controls.h"
#include "runtime/text_lines.h"

Q_LOGGING_CATEGORY(lcActivity, "qlok.activity", QtWarningMsg)

namespace qlok::qt {

using namespace win;

std::optional<Command> FindDateTimeSettings() {
    // The date and time pages of the common desktops' settings programs.
    static const Command kCandidates[] = {
        {QStringLiteral("gnome-control-center"), {QStringLiteral("datetime")}},
        {QStringLiteral("systemsettings"), {QStringLiteral("kcm_clock")}},
        {QStringLiteral("kcmshell6"), {QStringLiteral("kcm_clock")}},
        {QStringLiteral("systemsettings5"), {QStringLiteral("clock")}},
        {QStringLiteral("kcmshell5"), {QStringLiteral("clock")}},
        {QStringLiteral("cinnamon-settings"), {QStringLiteral("calendar")}},
        {QStringLiteral("budgie-control-center"), {QStringLiteral("datetime")}},
        {QStringLiteral("unity-control-center"), {QStringLiteral("datetime")}},
        {QStringLiteral("mate-time-admin"), {}},
        {QStringLiteral("time-admin"), {}},
    };
    for (const Command& candidate : kCandidates) {
        const QString path = QStandardPaths::findExecutable(candidate.program);
        if (!path.isEmpty()) {
            return Command{path, candidate.arguments};
        }
    }
    return std::nullopt;
}

bool QtShell::OpenTextFile(const std::string& path) {
    const QString absolute = QFileInfo(FromLocal(path)).absoluteFilePath();
    return QDesktopServices::openUrl(QUrl::fromLocalFile(absolute));
}

bool QtShell::OpenDateTimeSettings() {
    const std::optional<Command> command = FindDateTimeSettings();
    return command && QProcess::startDetached(command->program, command->arguments);
}

void QtMessageBoxes::Show(const std::string& text, const std::string& title, int style) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (style & kMbIconMask) {
        case kMbIconError:
            icon = QMessageBox::Critical;
            break;
        case kMbIconQuestion:
            icon = QMessageBox::Question;
            break;
        case kMbIconWarning:
            icon = QMessageBox::Warning;
            break;
        case kMbIconInformation:
            icon = QMessageBox::Information;
            break;
        default:
            break;
    }
    QMessageBox box(icon, FromLocal(title), FromLocal(text), QMessageBox::Ok, parent_);
    box.exec();
}

QtTrayIcons::QtTrayIcons(QWidget& window, std::function<void(int)> onMouseMessage)
    : window_(window), onMouseMessage_(std::move(onMouseMessage)) {}

QtTrayIcons::~QtTrayIcons() = default;

bool QtTrayIcons::Notify(int operation, const NotifyIconData& data) {
    if (operation == kNimDelete) {
        const bool wasShown = icon_ && icon_->isVisible();
        if (icon_) {
            icon_->hide();
        }
        return wasShown;
    }
    if (operation != kNimAdd || !QSystemTrayIcon::isSystemTrayAvailable()) {
        return false;
    }
    if (!icon_) {
        icon_ = std::make_unique<QSystemTrayIcon>();
        QSystemTrayIcon* tray = icon_.get();
        QObject::connect(tray, &QSystemTrayIcon::activated, tray,
                         [this, tray](QSystemTrayIcon::ActivationReason reason) {
                             int message = 0;
                             switch (reason) {
                                 case QSystemTrayIcon::Trigger:
                                     message = kWmLButtonUp;
                                     break;
                                 case QSystemTrayIcon::DoubleClick:
                                     message = kWmLButtonDblClk;
                                     break;
                                 case QSystemTrayIcon::Context:
                                     message = kWmRButtonUp;
                                     break;
                                 default:
                                     return;
                             }
                             // The handler removes this icon: let its signal finish first.
                             QMetaObject::invokeMethod(
                                 tray,
                                 [this, message] {
                                     if (onMouseMessage_) {
                                         onMouseMessage_(message);
                                     }
                                 },
                                 Qt::QueuedConnection);
                         });
    }
    QIcon icon = window_.windowIcon();
    if (icon.isNull()) {
        icon = window_.style()->standardIcon(QStyle::SP_ComputerIcon);
    }
    const std::size_t tipLength = std::min(data.szTip.find('\0'), data.szTip.size());
    icon_->setIcon(icon);
    icon_->setToolTip(FromLocal(std::string(data.szTip.data(), tipLength)));
    icon_->show();  // adding a shown icon again only renews it, as a refresh expects
    return icon_->isVisible();
}

std::size_t QtTrayIcons::CharacterLength(std::string_view text) const {
    return Utf8CharacterLength(text);
}

std::intptr_t DefaultWindowProcedure(std::uintptr_t hWnd, std::uint32_t uMsg, std::uintptr_t wParam,
                                     std::intptr_t /*lParam*/) {
    QtWindow* window = QtWindow::FromHandle(hWnd);
    if (uMsg != kWmSysCommand || window == nullptr) {
        return 0;
    }
    switch (wParam & kScMask) {
        case kScRestore:
            window->SetState(WindowState::Normal);
            break;
        case kScMinimize:
            window->SetState(WindowState::Minimized);
            break;
        case kScMaximize:
            window->SetState(WindowState::Maximized);
            break;
        case kScClose:
            window->Close();
            break;
        default:
            break;
    }
    return 0;
}

bool QtWindowMenu::AppendItem(std::uint32_t flags, std::uint32_t id, const std::string& text) {
    items_.push_back({flags, id, FromLocal(text)});
    return true;
}

WindowProcedure QtWindowMenu::InstallWindowProcedure(MessageProcedure procedure) {
    return reinterpret_cast<WindowProcedure>(std::exchange(procedure_, procedure));
}

std::intptr_t QtWindowMenu::CallWindowProcedure(WindowProcedure procedure, std::uintptr_t hWnd,
                                                std::uint32_t uMsg, std::uintptr_t wParam,
                                                std::intptr_t lParam) {
    const auto call = reinterpret_cast<MessageProcedure>(procedure);
    return call == nullptr ? 0 : call(hWnd, uMsg, wParam, lParam);
}

void QtWindowMenu::Populate(QMenu& menu) {
    const WindowState state = window_.State();
    const auto add = [this, &menu](const QString& text, std::uint32_t id, bool enabled) {
        QAction* action = menu.addAction(text);
        action->setEnabled(enabled);
        QObject::connect(action, &QAction::triggered, &context_, [this, id] {
            // Sent after the menu has closed: a command may open a modal box or close the window.
            QTimer::singleShot(0, &context_, [this, id] { SendCommand(id); });
        });
        return action;
    };
    add(QStringLiteral("&Restore"), kScRestore, state != WindowState::Normal);
    add(QStringLiteral("Mi&nimize"), kScMinimize, state != WindowState::Minimized);
    add(QStringLiteral("Ma&ximize"), kScMaximize, state != WindowState::Maximized);
    menu.addSeparator();
    add(QStringLiteral("&Close"), kScClose, true)
        ->setShortcut(QKeySequence(QStringLiteral("Alt+F4")));
    for (const Item& item : items_) {
        if ((item.flags & kMfSeparator) != 0) {
            menu.addSeparator();
        } else {
            add(item.text, item.id, true);
        }
    }
}

void QtWindowMenu::Popup(QWidget& parent, const QPoint& globalPosition) {
    auto* menu = new QMenu(&parent);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    Populate(*menu);
    menu->popup(globalPosition);
}

std::intptr_t QtWindowMenu::SendCommand(std::uint32_t id) {
    return procedure_ == nullptr ? 0 : procedure_(window_.Handle(), kWmSysCommand, id, 0);
}

void QtActivityLog::Line(std::string_view line) {
    qCDebug(lcActivity).noquote() << FromLocal(line);
}

}  // namespace qlok::qt
