// QLOK: checks the PC clock against a Daytime server and sets it.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "posix/user_folder.h"
#include "qt/font_warm_up.h"
#include "qt/front_end.h"
#include "qt/startup_mark.h"

int main(int argc, char** argv) {
    // Started from the menu: into the user's own folder. The window logic gets the command line
    // without the menu's mark.
    if (qlok::posix::TakeMenuStartArgument(argc, argv)) {
        const std::string problem = qlok::posix::EnterUserFolder(
            qlok::posix::UserFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")),
            qlok::posix::InstalledHelpFile());
        if (!problem.empty()) {
            std::fprintf(stderr, "qlok: no folder of its own (%s); working here\n",
                         problem.c_str());
        }
    }
    // The logic takes the command line as typed. Qt would take its own options (-reverse,
    // -platform ...) out of it, so it gets the program's name alone; its settings come from the
    // environment (QT_QPA_PLATFORM, DISPLAY, ...).
    std::string commandLine = qlok::qt::JoinArguments(argc, argv);
    static char fallbackName[] = "qlok";
    int qtArgc = 1;
    char* qtArgv[] = {argc > 0 && argv[0] != nullptr ? argv[0] : fallbackName, nullptr};
    qlok::qt::FontWarmUp fonts;
    QApplication app(qtArgc, qtArgv);
    qlok::qt::InstallStartupMark();
    fonts.Wait();
    qlok::qt::FrontEnd frontEnd(std::move(commandLine));
    return frontEnd.Run();
}
