#include "qt/front_end.h"

#include <QApplication>
#include <utility>

#include "app/layout.h"
#include "sync/winsock_events.h"

namespace qlok::qt {

std::string JoinArguments(int argc, char** argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) {
            line += ' ';
        }
        line += argv[i];
    }
    return line;
}

FrontEnd::FrontEnd(std::string commandLine, FrontEndOptions options)
    : window_(widget_),
      combo1_(widget_.Combo1()),
      command1_(widget_.Command1()),
      command2_(widget_.Command2()),
      command3_(widget_.Command3()),
      countDown_(widget_.CountDown()),
      timer_(layout::kTimerInterval, [this] { form_.Timer1_Timer(); }),
      socket_(clock_, WinsockEvents(form_)),
      messageBoxes_(&widget_),
      tray_(widget_, [this](int mouseMessage) { form_.Form_MouseMove(0, 0, mouseMessage, 0); }),
      windowMenu_(window_),
      platform_{window_,
                combo1_,
                widget_.List1(),
                command1_,
                command2_,
                command3_,
                countDown_,
                timer_,
                socket_.control,
                options.clock != nullptr ? *options.clock : timedate_,
                regional_,
                files_,
                options.shell != nullptr ? *options.shell : shell_,
                options.messageBoxes != nullptr ? *options.messageBoxes : messageBoxes_,
                tray_,
                windowMenu_,
                log_,
                requestDelay_,
                wakeDelay_},
      form_(platform_, std::move(commandLine)) {
    QObject::connect(&widget_, &MainWindow::FormResize, &widget_, [this] { form_.Form_Resize(); });
    QObject::connect(&widget_, &MainWindow::FormDblClick, &widget_,
                     [this] { form_.Form_DblClick(); });
    QObject::connect(&widget_, &MainWindow::FormMouseMove, &widget_,
                     [this](int button, int shift, double x, double y) {
                         form_.Form_MouseMove(button, shift, x, y);
                     });
    QObject::connect(&widget_, &MainWindow::MenuRequested, &widget_,
                     [this](const QPoint& position) { windowMenu_.Popup(widget_, position); });
    QObject::connect(&widget_, &MainWindow::Closing, &widget_, [this] { form_.Form_Unload(); });
    QObject::connect(&widget_.Command1(), &QPushButton::clicked, &widget_,
                     [this] { form_.Command1_Click(); });
    QObject::connect(&widget_.Command2(), &QPushButton::clicked, &widget_,
                     [this] { form_.Command2_Click(); });
    QObject::connect(&widget_.Command3(), &QPushButton::clicked, &widget_,
                     [this] { form_.Command3_Click(); });
    widget_.List1().SetClickHandler([this] {
        if (inListClick_) {
            return;  // the handler reloads the list, which is no new click
        }
        inListClick_ = true;
        form_.List1_Click();
        inListClick_ = false;
    });
}

void FrontEnd::Start() {
    form_.Form_Load();
    widget_.show();
}

int FrontEnd::Run() {
    QApplication::setQuitOnLastWindowClosed(false);  // a message box must not end a hidden window
    QObject::connect(&widget_, &MainWindow::Closing, qApp, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    Start();
    return QApplication::exec();
}

}  // namespace qlok::qt
