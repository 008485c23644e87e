#include "app/qlokfrm.h"

#include <utility>

#include "app/startup.h"
#include "app/texts.h"
#include "desktop/menu.h"
#include "desktop/module_state.h"
#include "desktop/systray.h"
#include "runtime/text_lines.h"

namespace qlok {

QLOKfrm::QLOKfrm(Platform& platform, std::string commandLine)
    : Me(platform.window),
      Combo1(platform.combo1),
      List1(platform.list1),
      Command1(platform.command1),
      Command2(platform.command2),
      Command3(platform.command3),
      CountDown(platform.countDown),
      Timer1(platform.timer1),
      Winsock1(platform.winsock1),
      platform_(platform),
      commandLine_(std::move(commandLine)) {
    List1.AddItem(std::string(text::kListFirstLine));
}

QLOKfrm::~QLOKfrm() {
    if (Systray::MainForm == this) {
        ResetModuleState();
    }
}

bool QLOKfrm::InTray() const {
    return Systray::InTrayMode != Systray::kFalse;
}

void QLOKfrm::Form_Load() {
    // Desktop integration: the window menu and the tray.
    Systray::MainForm = this;
    Menu::AddSystemMenuItems(*this, std::string(text::kMinToSystray), std::string(text::kHelpItem),
                             std::string(text::kAboutItem));
    Systray::InTrayMode = 0;

    // The server list.
    int serverNumber = 0;
    const std::string serversFile(text::kServersFile);
    bool fromFile = false;
    std::string problem;
    if (FileExists(serversFile)) {
        const ReadResult file = platform_.files.ReadHead(serversFile, kServersFileMaxBytes);
        ServerList list;
        if (file.ok) {
            list = ParseServerList(file.data, file.more);
            problem = list.notice;
        } else {
            problem =
                serversFile + " could not be read (" + file.error + "); using the built-in servers";
        }
        if (file.ok && list.usable) {
            Combo1.Clear();
            for (const std::string& entry : list.entries) {
                Combo1.AddItem(entry);
            }
            Combo1.SetListIndex(0);
            fromFile = true;
        }
        if (!problem.empty()) {
            AddLine(problem);
        }
    }
    if (!fromFile) {
        Combo1.AddItem(std::string(text::kBuiltInHost));
        Combo1.AddItem(std::string(text::kBuiltInAddress));
        Combo1.SetListIndex(0);
    }

    // The command line: any argument picks a server and synchronises at once.
    if (commandLine_.empty()) {
        return;
    }
    serverNumber =
        ServerIndexFromCommandLine(commandLine_, Combo1.ListCount(), Formats().decimalSeparator);
    Combo1.SetListIndex(serverNumber);
    Command1_Click();
    if (!problem.empty()) {
        AddLine(problem);  // the sync cleared the list; the user should still see why
    }
}

bool QLOKfrm::FileExists(const std::string& folderspec) const {
    return platform_.files.FileExists(folderspec);
}

void QLOKfrm::AddLine(const std::string& line) {
    List1.AddItem(line);
    platform_.log.Line(EscapeControls(line));  // the list shows the text as it came
}

}  // namespace qlok
