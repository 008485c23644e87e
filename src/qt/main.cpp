// QLOK: checks the PC clock against a Daytime server and sets it.
#include <QApplication>
#include <string>
#include <utility>

#include "qt/front_end.h"

int main(int argc, char** argv) {
    // The logic takes the command line as typed. Qt would take its own options (-reverse,
    // -platform ...) out of it, so it gets the program's name alone; its settings come from the
    // environment (QT_QPA_PLATFORM, DISPLAY, ...).
    std::string commandLine = qlok::qt::JoinArguments(argc, argv);
    static char fallbackName[] = "qlok";
    int qtArgc = 1;
    char* qtArgv[] = {argc > 0 && argv[0] != nullptr ? argv[0] : fallbackName, nullptr};
    QApplication app(qtArgc, qtArgv);
    qlok::qt::FrontEnd frontEnd(std::move(commandLine));
    return frontEnd.Run();
}
