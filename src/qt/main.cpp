// QLOK: checks the PC clock against a Daytime server and sets it.
#include <QApplication>

#include "qt/front_end.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);  // takes Qt's own options out of argv
    qlok::qt::FrontEnd frontEnd(qlok::qt::JoinArguments(argc, argv));
    return frontEnd.Run();
}
