#include "qt/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QHideEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QShortcut>
#include <QShowEvent>
#include <algorithm>
#include <map>

#include "app/layout.h"
#include "app/qlokfrm.h"
#include "app/texts.h"
#include "qt/qt_controls.h"
#include "qt/window_icon.h"

namespace qlok::qt {

namespace {

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QRect Pixels(const layout::Rect& twips) {
    return {layout::ToPixels(twips.left), layout::ToPixels(twips.top),
            layout::ToPixels(twips.width), layout::ToPixels(twips.height)};
}

void Place(QWidget& control, const layout::Rect& twips) {
    control.setGeometry(Pixels(twips));
    control.setFont(ControlFont());
}

QPushButton* MakeButton(QWidget* parent, std::string_view caption, const layout::Rect& twips) {
    auto* button = new QPushButton(Text(caption), parent);
    button->setAutoDefault(false);
    button->setDefault(false);
    Place(*button, twips);
    return button;
}

// The first of the families that is installed, or all of them when none is. One family alone
// spares the most time: for a font of several, the toolkit has the system sort every installed
// font to find fallbacks, which was a good part of the time to the first frame. The names are
// looked up in the list of installed families: asking for each by name would have the system
// apply its whole configuration to every name that is not installed.
QStringList FirstInstalled(const QStringList& families) {
    const QStringList installed = QFontDatabase::families();
    const auto found = std::find_if(families.begin(), families.end(), [&](const QString& family) {
        return installed.contains(family, Qt::CaseInsensitive);
    });
    return found != families.end() ? QStringList{*found} : families;
}

QFont SansSerif(const QStringList& families) {
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(layout::kControlFontPoints);
    return font;
}

constexpr Qt::WindowStates kStateMask =
    Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;

std::map<std::uintptr_t, QtWindow*>& Windows() {
    static std::map<std::uintptr_t, QtWindow*> windows;
    return windows;
}

}  // namespace

QFont ControlFont() {
    // The font itself, or its look-alikes, or whatever sans-serif the system has; looked up once.
    static const QStringList families =
        FirstInstalled({Text(layout::kControlFont), QStringLiteral("Microsoft Sans Serif"),
                        QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                        QStringLiteral("Nimbus Sans")});
    QFont font = SansSerif(families);
    font.setWeight(QFont::Normal);
    return font;
}

FormWidget::FormWidget() : QWidget(nullptr, Qt::Window), applicationFont_(QApplication::font()) {
    const QFont form =
        SansSerif(FirstInstalled({Text(layout::kFormFont), QStringLiteral("Liberation Sans"),
                                  QStringLiteral("Nimbus Sans")}));
    setFont(form);
    QApplication::setFont(form);
}

void FormWidget::ChildrenMade() {
    QApplication::setFont(applicationFont_);
}

MainWindow::MainWindow()
    : combo1_(new QComboBox(this)),
      list1_(this),
      command1_(MakeButton(this, text::kResync, layout::kCommand1)),
      command2_(MakeButton(this, text::kShowClock, layout::kCommand2)),
      command3_(MakeButton(this, text::kRepeat, layout::kCommand3)),
      countDown_(new QLineEdit(Text(text::kCountDownDefault), this)),
      label1_(new QLabel(Text(text::kMins), this)) {
    setWindowTitle(Text(text::kCaption));
    setWindowIcon(BuiltInWindowIcon());
    setGeometry(Pixels(layout::kClientArea));
    setMouseTracking(true);  // the logic's mouse-move handler

    combo1_->setEditable(true);
    combo1_->setInsertPolicy(QComboBox::NoInsert);
    combo1_->setCompleter(nullptr);
    Place(*combo1_, layout::kCombo1);

    Place(list1_.View(), layout::kList1);

    Place(*countDown_, layout::kCountDown);
    Place(*label1_, layout::kLabel1);
    label1_->setFocusPolicy(Qt::NoFocus);

    setTabOrder(combo1_, &list1_.View());
    setTabOrder(&list1_.View(), command1_);
    setTabOrder(command1_, command2_);
    setTabOrder(command2_, command3_);
    setTabOrder(command3_, countDown_);
    combo1_->setFocus();

    // The keyboard's ways to the window menu.
    for (const QKeySequence& keys :
         {QKeySequence(Qt::Key_Menu), QKeySequence(Qt::SHIFT | Qt::Key_F10)}) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, &MainWindow::RequestMenuFromKeyboard);
    }
    // Where the system turns the Menu key into a context menu event, the text boxes would open
    // their own edit menu; the keyboard gets the window menu there too, the mouse keeps it.
    // The combo box has the focus for its line edit and hands the event to it past any filter.
    combo1_->installEventFilter(this);
    combo1_->lineEdit()->installEventFilter(this);
    countDown_->installEventFilter(this);
    // Enter clicks the focused button (Space does already), while no button is the default.
    for (QPushButton* button : {command1_, command2_, command3_}) {
        button->installEventFilter(this);
    }
    ChildrenMade();
}

void MainWindow::ChangeState(Qt::WindowState state) {
    const Qt::WindowStates before = windowState() & kStateMask;
    const QSize sizeBefore = size();
    const bool held = std::exchange(holdResize_, true);
    switch (state) {
        case Qt::WindowMinimized:
            showMinimized();
            break;
        case Qt::WindowMaximized:
            showMaximized();
            break;
        default:
            showNormal();
            break;
    }
    holdResize_ = held;
    const Qt::WindowStates after = windowState() & kStateMask;
    if (after == before || holdResize_) {
        return;
    }
    // Going into or out of Minimized is raised here, once the window is in its new state, and
    // not from inside showMinimized, which would show a window again that the handler has just
    // hidden. Maximising and restoring are raised by the resize they cause, which the system
    // mostly delivers later; only one that came during the change is raised here.
    if (before.testFlag(Qt::WindowMinimized) != after.testFlag(Qt::WindowMinimized) ||
        size() != sizeBefore) {
        emit FormResize();
    }
}

void MainWindow::RequestMenuFromKeyboard() {
    const QWidget* focused = focusWidget();
    const QPoint position = focused != nullptr ? focused->mapToGlobal(focused->rect().center())
                                               : mapToGlobal(QPoint(0, 0));
    emit MenuRequested(position);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        auto* button = qobject_cast<QPushButton*>(watched);
        if (button != nullptr && !key->isAutoRepeat() &&
            (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            button->click();
            return true;
        }
    }
    if (event->type() == QEvent::ContextMenu &&
        static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
        RequestMenuFromKeyboard();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// Maximising and restoring change the size, and the resize reports them; minimising and coming
// back from it do not, so the state change reports those. One FormResize for each either way.
void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!holdResize_) {
        emit FormResize();
    }
}

void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || holdResize_) {
        return;
    }
    const Qt::WindowStates before = static_cast<QWindowStateChangeEvent*>(event)->oldState();
    if (before.testFlag(Qt::WindowMinimized) != windowState().testFlag(Qt::WindowMinimized)) {
        emit FormResize();
    }
}

void MainWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && childAt(event->position().toPoint()) == nullptr) {
        emit FormDblClick();
        return;
    }
    QWidget::mouseDoubleClickEvent(event);
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    if (childAt(position) != nullptr) {
        return;  // over a control that does not take the mouse (the label)
    }
    const Qt::MouseButtons buttons = event->buttons();
    const Qt::KeyboardModifiers keys = event->modifiers();
    emit FormMouseMove(
        MouseButtons(buttons.testFlag(Qt::LeftButton), buttons.testFlag(Qt::RightButton),
                     buttons.testFlag(Qt::MiddleButton)),
        ShiftKeys(keys.testFlag(Qt::ShiftModifier), keys.testFlag(Qt::ControlModifier),
                  keys.testFlag(Qt::AltModifier)),
        position.x(), position.y());
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() != QContextMenuEvent::Mouse) {
        RequestMenuFromKeyboard();  // at the focus; the event's position is the mouse's
        return;
    }
    if (childAt(event->pos()) != nullptr) {
        event->ignore();  // a right click on a control is no request for the window menu
        return;
    }
    emit MenuRequested(event->globalPos());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    emit Closing();
    event->accept();
}

void MainWindow::hideEvent(QHideEvent* event) {
    // Hiding the window moves the focus on to the next control; it comes back where it was.
    if (!event->spontaneous()) {
        focusBeforeHide_ = focusWidget();
    }
    QWidget::hideEvent(event);
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (focusBeforeHide_ != nullptr) {
        focusBeforeHide_->setFocus();
        focusBeforeHide_ = nullptr;
    }
}

QtWindow::QtWindow(MainWindow& widget) : widget_(widget) {
    Windows()[Handle()] = this;
}

QtWindow::~QtWindow() {
    Windows().erase(Handle());
}

QtWindow* QtWindow::FromHandle(std::uintptr_t handle) {
    const auto found = Windows().find(handle);
    return found == Windows().end() ? nullptr : found->second;
}

std::string QtWindow::Caption() const {
    return ToLocal(widget_.windowTitle());
}

void QtWindow::SetCaption(const std::string& caption) {
    widget_.setWindowTitle(FromLocal(caption));
}

WindowState QtWindow::State() const {
    const Qt::WindowStates state = widget_.windowState();
    if (state.testFlag(Qt::WindowMinimized)) {
        return WindowState::Minimized;
    }
    if (state.testFlag(Qt::WindowMaximized) || state.testFlag(Qt::WindowFullScreen)) {
        return WindowState::Maximized;
    }
    return WindowState::Normal;
}

void QtWindow::SetState(WindowState state) {
    switch (state) {
        case WindowState::Minimized:
            widget_.ChangeState(Qt::WindowMinimized);
            break;
        case WindowState::Maximized:
            widget_.ChangeState(Qt::WindowMaximized);
            break;
        case WindowState::Normal:
            widget_.ChangeState(Qt::WindowNoState);
            break;
    }
}

void QtWindow::Hide() {
    widget_.hide();
}

void QtWindow::Show() {
    widget_.show();
    widget_.raise();
    widget_.activateWindow();
}

std::uintptr_t QtWindow::Handle() const {
    return reinterpret_cast<std::uintptr_t>(&widget_);
}

std::uintptr_t QtWindow::IconHandle() const {
    const qint64 key = widget_.windowIcon().cacheKey();
    return key != 0 ? static_cast<std::uintptr_t>(key) : Handle() + 1;
}

void QtWindow::Close() {
    widget_.close();
}

}  // namespace qlok::qt
