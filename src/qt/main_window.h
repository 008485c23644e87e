// The main window: its widget with the fixed layout of controls, and the logic's view of it.
#pragma once

#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QWidget>
#include <cstdint>
#include <string>

#include "platform/window.h"
#include "qt/qt_list_box.h"

namespace qlok::qt {

// The font of every control with text: "MS Sans Serif" 8.25 pt, or the closest sans-serif.
QFont ControlFont();

// A top-level widget whose font is the form's before any child is made, and the application's
// too until the children are made: a text box lays out its first text in the application's
// font whatever its parent's, and would load that font for nothing.
class FormWidget : public QWidget {
  public:
    FormWidget();

  protected:
    // The application's font again, once all children are made.
    void ChildrenMade();

  private:
    QFont applicationFont_;
};

// The widget of the one window. Controls keep their places and sizes whatever the window's.
class MainWindow final : public FormWidget {
    Q_OBJECT

  public:
    // The window with its controls in their initial state, not shown.
    MainWindow();

    QComboBox& Combo1() const { return *combo1_; }
    QtListBox& List1() { return list1_; }
    QPushButton& Command1() const { return *command1_; }
    QPushButton& Command2() const { return *command2_; }
    QPushButton& Command3() const { return *command3_; }
    QLineEdit& CountDown() const { return *countDown_; }
    QLabel& Label1() const { return *label1_; }

    // Changes the window state from code and raises FormResize once, after the change is done.
    void ChangeState(Qt::WindowState state);
    // Opens the window menu at the focused control, as the keyboard asks for it.
    void RequestMenuFromKeyboard();

  signals:
    // The size or the state of the window changed.
    void FormResize();
    // A double click on the window's free area.
    void FormDblClick();
    // The mouse moved over the window's free area; buttons and shift as Windows masks, pixels.
    void FormMouseMove(int button, int shift, double x, double y);
    // The window menu was asked for at a screen position.
    void MenuRequested(const QPoint& globalPosition);
    // The window is closing.
    void Closing();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    QComboBox* combo1_;
    QtListBox list1_;
    QPushButton* command1_;
    QPushButton* command2_;
    QPushButton* command3_;
    QLineEdit* countDown_;
    QLabel* label1_;
    bool holdResize_ = false;  // ChangeState raises the one FormResize itself
    QPointer<QWidget> focusBeforeHide_;
};

// The window as the logic sees it.
class QtWindow final : public Window {
  public:
    // Stands for widget; its handle finds it again (FromHandle) until it is destroyed.
    explicit QtWindow(MainWindow& widget);
    ~QtWindow() override;
    QtWindow(const QtWindow&) = delete;
    QtWindow& operator=(const QtWindow&) = delete;

    std::string Caption() const override;
    void SetCaption(const std::string& caption) override;
    WindowState State() const override;
    void SetState(WindowState state) override;
    void Hide() override;
    void Show() override;
    std::uintptr_t Handle() const override;
    std::uintptr_t IconHandle() const override;

    // Closes the window as its close button does.
    void Close();
    // The window with this handle, or null.
    static QtWindow* FromHandle(std::uintptr_t handle);

  private:
    MainWindow& widget_;
};

}  // namespace qlok::qt
