// The floor for QLOK's start-up: an empty Qt window of the same size at the same place, with
// the same start-up mark, and nothing else.
#include <QApplication>
#include <QWidget>

#include "app/layout.h"
#include "qt/startup_mark.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    qlok::qt::InstallStartupMark();
    QWidget window;
    const qlok::layout::Rect& area = qlok::layout::kClientArea;
    window.setGeometry(qlok::layout::ToPixels(area.left), qlok::layout::ToPixels(area.top),
                       qlok::layout::ToPixels(area.width), qlok::layout::ToPixels(area.height));
    window.setWindowTitle(QStringLiteral("bare"));
    window.show();
    return QApplication::exec();
}
