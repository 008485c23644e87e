// A second floor for QLOK's start-up: the same standard controls at the same places, in the
// toolkit's default fonts, with the same start-up mark, and no logic behind them.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>

#include "app/layout.h"
#include "qt/startup_mark.h"

namespace {

QRect Pixels(const qlok::layout::Rect& twips) {
    using qlok::layout::ToPixels;
    return {ToPixels(twips.left), ToPixels(twips.top), ToPixels(twips.width),
            ToPixels(twips.height)};
}

template <typename Control>
Control* Make(QWidget* window, const qlok::layout::Rect& twips) {
    auto* control = new Control(window);
    control->setGeometry(Pixels(twips));
    return control;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    qlok::qt::InstallStartupMark();
    QWidget window;
    window.setGeometry(Pixels(qlok::layout::kClientArea));
    window.setWindowTitle(QStringLiteral("controls"));
    Make<QComboBox>(&window, qlok::layout::kCombo1)->setEditable(true);
    Make<QListWidget>(&window, qlok::layout::kList1)->addItem(QStringLiteral("Connecting"));
    Make<QPushButton>(&window, qlok::layout::kCommand1)->setText(QStringLiteral("Resync"));
    Make<QPushButton>(&window, qlok::layout::kCommand2)->setText(QStringLiteral("Show Clock"));
    Make<QPushButton>(&window, qlok::layout::kCommand3)->setText(QStringLiteral("Repeat"));
    Make<QLineEdit>(&window, qlok::layout::kCountDown)->setText(QStringLiteral("240"));
    Make<QLabel>(&window, qlok::layout::kLabel1)->setText(QStringLiteral("Mins"));
    window.show();
    return QApplication::exec();
}
