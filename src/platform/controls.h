// The window's standard controls, reduced to what the window logic uses.
#pragma once

#include <string>

#include "runtime/text_lines.h"

namespace qlok {

// A list box of text lines (the activity list). It draws each line as ShownLine gives it.
class ListBox {
  public:
    virtual ~ListBox() = default;
    // Removes every line.
    virtual void Clear() = 0;
    // Appends one line at the end.
    virtual void AddItem(const std::string& line) = 0;
    // Replaces every line at once; the way to show a long history quickly.
    virtual void SetItems(TextLines lines) = 0;
    // The index of the line added last, or -1.
    virtual int NewIndex() const = 0;
    // Scrolls so that the line at index is the topmost visible one.
    virtual void SetTopIndex(int index) = 0;
};

// A drop-down combo box with an editable text field (the server box).
class ComboBox {
  public:
    virtual ~ComboBox() = default;
    // Removes every item and empties the text field.
    virtual void Clear() = 0;
    // Appends one item at the end.
    virtual void AddItem(const std::string& item) = 0;
    // The number of items.
    virtual int ListCount() const = 0;
    // Selects the item at index and shows it in the text field; an index out of range is ignored.
    virtual void SetListIndex(int index) = 0;
    // The text of the text field.
    virtual std::string Text() const = 0;
};

// A single-line editable text box.
class TextBox {
  public:
    virtual ~TextBox() = default;
    // The text in the box.
    virtual std::string Text() const = 0;
    // Replaces the text in the box.
    virtual void SetText(const std::string& text) = 0;
};

// A push button.
class Button {
  public:
    virtual ~Button() = default;
    // The text on the button.
    virtual std::string Caption() const = 0;
    // Replaces the text on the button.
    virtual void SetCaption(const std::string& caption) = 0;
};

// A timer that calls Timer1_Timer once per interval while enabled.
class Timer {
  public:
    virtual ~Timer() = default;
    // The interval in milliseconds.
    virtual int Interval() const = 0;
    // Sets the interval in milliseconds; a running timer starts the interval afresh.
    virtual void SetInterval(int milliseconds) = 0;
    // Whether the timer ticks.
    virtual bool Enabled() const = 0;
    // Starts (the interval afresh) or stops the ticks.
    virtual void SetEnabled(bool enabled) = 0;
};

}  // namespace qlok
