#include "desktop/menu.h"

#include "app/qlokfrm.h"
#include "app/texts.h"
#include "desktop/systray.h"
#include "platform/winapi_values.h"

namespace qlok::Menu {

using namespace win;

void AddSystemMenuItems(QLOKfrm& form, const std::string& minToTrayCaption,
                        const std::string& helpCaption, const std::string& aboutCaption) {
    WindowMenu& menu = form.Services().windowMenu;
    menu.AppendItem(kMfSeparator, 0, {});
    menu.AppendItem(kMfString, MenuIdMinToTray, minToTrayCaption);
    menu.AppendItem(kMfString, MenuIdHelp, helpCaption);
    menu.AppendItem(kMfString, MenuIdAbout, aboutCaption);
    PreviousWndProc = menu.InstallWindowProcedure(&MainWndProc);
}

MenuAction DecideMenuAction(std::uint32_t uMsg, std::uintptr_t wParam, bool helpFileExists) {
    if (uMsg != kWmSysCommand) {
        return MenuAction::PassOn;
    }
    switch (wParam) {
        case MenuIdMinToTray:
            return MenuAction::MinToTray;
        case MenuIdHelp:
            return helpFileExists ? MenuAction::OpenHelp : MenuAction::HelpMissing;
        case MenuIdAbout:
            return MenuAction::About;
        default:
            return MenuAction::PassOn;
    }
}

std::intptr_t MainWndProc(std::uintptr_t hWnd, std::uint32_t uMsg, std::uintptr_t wParam,
                          std::intptr_t lParam) {
    QLOKfrm& form = *Systray::MainForm;
    Platform& services = form.Services();
    const std::string helpFile(text::kHelpFile);
    const bool isHelp = uMsg == kWmSysCommand && wParam == MenuIdHelp;
    switch (DecideMenuAction(uMsg, wParam, isHelp && FileExistsCheck(helpFile))) {
        case MenuAction::MinToTray:
            Systray::InTrayMode = Systray::kTrue;  // before the resize that the state change runs
            form.Me.SetState(WindowState::Minimized);
            return 0;
        case MenuAction::OpenHelp:
            if (!services.shell.OpenTextFile(helpFile)) {
                services.messageBoxes.Show(helpFile + " could not be opened.",
                                           std::string(text::kHelpTitle),
                                           kMbOk | kMbIconInformation);
                return 0;
            }
            break;
        case MenuAction::HelpMissing:
            services.messageBoxes.Show(std::string(text::kHelpMissing),
                                       std::string(text::kHelpTitle), kMbOk | kMbIconInformation);
            return 0;
        case MenuAction::About:
            services.messageBoxes.Show(
                std::string(text::kAboutText) + "\n" + std::string(text::kAboutCredit),
                std::string(text::kAboutTitle), kMbOk | kMbIconInformation);
            return 0;
        case MenuAction::PassOn:
            break;
    }
    return services.windowMenu.CallWindowProcedure(PreviousWndProc, hWnd, uMsg, wParam, lParam);
}

bool FileExistsCheck(const std::string& path) {
    return Systray::MainForm != nullptr && Systray::MainForm->Services().files.FileExists(path);
}

}  // namespace qlok::Menu
