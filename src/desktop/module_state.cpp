#include "desktop/module_state.h"

#include "desktop/menu.h"
#include "desktop/systray.h"

namespace qlok {

namespace Menu {
WindowProcedure PreviousWndProc = 0;
}  // namespace Menu

namespace Systray {
QLOKfrm* MainForm = nullptr;
std::int16_t InTrayMode = kFalse;
NotifyIconData TrayIconData{};
}  // namespace Systray

void ResetModuleState() {
    Menu::PreviousWndProc = 0;
    Systray::MainForm = nullptr;
    Systray::InTrayMode = Systray::kFalse;
    Systray::TrayIconData = {};
}

}  // namespace qlok
