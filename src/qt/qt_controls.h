// The window's standard controls behind the window logic's control interfaces.
#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <string>
#include <string_view>

#include "linux/local_text.h"
#include "platform/controls.h"

namespace qlok::qt {

// The server box: an editable combo box.
class QtComboBox final : public ComboBox {
  public:
    // Wraps a combo box that the window owns.
    explicit QtComboBox(QComboBox& box) : box_(box) {}

    void Clear() override;
    void AddItem(const std::string& item) override;
    int ListCount() const override;
    void SetListIndex(int index) override;
    std::string Text() const override;

  private:
    QComboBox& box_;
};

// A single-line text box.
class QtTextBox final : public TextBox {
  public:
    // Wraps a line edit that the window owns.
    explicit QtTextBox(QLineEdit& edit) : edit_(edit) {}

    std::string Text() const override;
    void SetText(const std::string& text) override;

  private:
    QLineEdit& edit_;
};

// A push button.
class QtButton final : public Button {
  public:
    // Wraps a button that the window owns.
    explicit QtButton(QPushButton& button) : button_(button) {}

    std::string Caption() const override;
    void SetCaption(const std::string& caption) override;

  private:
    QPushButton& button_;
};

// The repeat timer.
class QtTimer final : public Timer {
  public:
    // A stopped timer with the given interval that calls onTick at every tick.
    QtTimer(int milliseconds, std::function<void()> onTick);

    int Interval() const override;
    void SetInterval(int milliseconds) override;
    bool Enabled() const override;
    void SetEnabled(bool enabled) override;

  private:
    QTimer timer_;
    std::function<void()> onTick_;
};

}  // namespace qlok::qt
