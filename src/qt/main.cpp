// QLOK: checks the PC clock against a Daytime server and sets it.
#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "posix/user_folder.h"
#include "qt/font_warm_up.h"
#include "qt/front_end.h"
#include "qt/startup_mark.h"

int main(int argc, char** argv) {
    // Started from the menu: into the user's own folder. The mark leaves the environment before
    // anything could start a program that would inherit it.
    if (qlok::posix::TakeMenuStartMark()) {
        const std::string problem = qlok::posix::EnterUserFolder(
            qlok::posix::UserFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")),
            qlok::posix::InstalledHelpFile());
        if (!problem.empty()) {
            std::fprintf(stderr, "qlok: no folder of its own (%s); working here\n",
                         problem.c_str());
        }
    }
    qlok::qt::FontWarmUp fonts;
    QApplication app(argc, argv);  // takes Qt's own options out of argv
    qlok::qt::InstallStartupMark();
    fonts.Wait();
    qlok::qt::FrontEnd frontEnd(qlok::qt::JoinArguments(argc, argv));
    return frontEnd.Run();
}
