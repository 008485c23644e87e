#include "qt/qt_controls.h"

#include <utility>

namespace qlok::qt {

void QtComboBox::Clear() {
    box_.clear();
    box_.clearEditText();
}

void QtComboBox::AddItem(const std::string& item) {
    box_.addItem(FromLocal(item));
}

int QtComboBox::ListCount() const {
    return box_.count();
}

void QtComboBox::SetListIndex(int index) {
    if (index < 0 || index >= box_.count()) {
        return;
    }
    box_.setCurrentIndex(index);
    box_.setEditText(box_.itemText(index));  // also when the user had typed over the same item
}

std::string QtComboBox::Text() const {
    return ToLocal(box_.currentText());
}

std::string QtTextBox::Text() const {
    return ToLocal(edit_.text());
}

void QtTextBox::SetText(const std::string& text) {
    edit_.setText(FromLocal(text));
}

std::string QtButton::Caption() const {
    return ToLocal(button_.text());
}

void QtButton::SetCaption(const std::string& caption) {
    button_.setText(FromLocal(caption));
}

QtTimer::QtTimer(int milliseconds, std::function<void()> onTick) : onTick_(std::move(onTick)) {
    timer_.setInterval(milliseconds);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
        if (onTick_) {
            onTick_();
        }
    });
}

int QtTimer::Interval() const {
    return timer_.interval();
}

void QtTimer::SetInterval(int milliseconds) {
    timer_.setInterval(milliseconds);  // restarts a running timer
}

bool QtTimer::Enabled() const {
    return timer_.isActive();
}

void QtTimer::SetEnabled(bool enabled) {
    if (enabled) {
        timer_.start();  // the interval starts afresh, also when it was running
    } else {
        timer_.stop();
    }
}

}  // namespace qlok::qt
