// Controls and desktop services of a window that nobody sees: they keep what the window logic
// reads back, and draw nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "app/texts.h"
#include "platform/platform.h"

namespace qlok::console {

class HeadlessWindow final : public Window {
  public:
    std::string Caption() const override { return caption_; }
    void SetCaption(const std::string& caption) override { caption_ = caption; }
    WindowState State() const override { return WindowState::Normal; }
    void SetState(WindowState) override {}
    void Hide() override {}
    void Show() override {}
    std::uintptr_t Handle() const override { return 0; }
    std::uintptr_t IconHandle() const override { return 0; }

  private:
    std::string caption_{text::kCaption};
};

// Counts its lines; the lines themselves go to the activity log.
class HeadlessList final : public ListBox {
  public:
    void Clear() override { count_ = 0; }
    void AddItem(const std::string&) override { ++count_; }
    void SetItems(TextLines lines) override { count_ = static_cast<int>(lines.size()); }
    int NewIndex() const override { return count_ - 1; }
    void SetTopIndex(int) override {}

  private:
    int count_ = 0;
};

class HeadlessCombo final : public ComboBox {
  public:
    void Clear() override {
        items_.clear();
        text_.clear();
    }
    void AddItem(const std::string& item) override { items_.push_back(item); }
    int ListCount() const override { return static_cast<int>(items_.size()); }
    void SetListIndex(int index) override {
        if (index >= 0 && index < ListCount()) {
            text_ = items_[static_cast<std::size_t>(index)];
        }
    }
    std::string Text() const override { return text_; }

  private:
    std::vector<std::string> items_;
    std::string text_;
};

// A button or a text box: one line of text either way.
class HeadlessText final : public Button, public TextBox {
  public:
    explicit HeadlessText(std::string_view text) : text_(text) {}
    std::string Caption() const override { return text_; }
    void SetCaption(const std::string& caption) override { text_ = caption; }
    std::string Text() const override { return text_; }
    void SetText(const std::string& text) override { text_ = text; }

  private:
    std::string text_;
};

// Keeps its settings and never ticks: nothing here turns repeat mode on.
class HeadlessTimer final : public Timer {
  public:
    int Interval() const override { return interval_; }
    void SetInterval(int milliseconds) override { interval_ = milliseconds; }
    bool Enabled() const override { return enabled_; }
    void SetEnabled(bool enabled) override { enabled_ = enabled; }

  private:
    int interval_ = 0;
    bool enabled_ = false;
};

// No other programs, boxes, tray or window menu without a desktop.
class HeadlessDesktop final : public Shell,
                              public MessageBoxes,
                              public TrayIcons,
                              public WindowMenu {
  public:
    bool OpenTextFile(const std::string&) override { return false; }
    bool OpenDateTimeSettings() override { return false; }
    void Show(const std::string&, const std::string&, int) override {}
    bool Notify(int, const NotifyIconData&) override { return false; }
    std::size_t CharacterLength(std::string_view) const override { return 1; }
    bool AppendItem(std::uint32_t, std::uint32_t, const std::string&) override { return true; }
    WindowProcedure InstallWindowProcedure(MessageProcedure) override { return 0; }
    std::intptr_t CallWindowProcedure(WindowProcedure, std::uintptr_t, std::uint32_t,
                                      std::uintptr_t, std::intptr_t) override {
        return 0;
    }
};

// The window's controls and desktop for a front end that shows nothing.
struct HeadlessControls {
    HeadlessWindow window;
    HeadlessCombo combo1;
    HeadlessList list1;
    HeadlessText command1{text::kResync};
    HeadlessText command2{text::kShowClock};
    HeadlessText command3{text::kRepeat};
    HeadlessText countDown{text::kCountDownDefault};
    HeadlessTimer timer1;
    HeadlessDesktop desktop;

    // The window logic's platform: these controls with the services given.
    Platform With(Socket& socket, SystemClock& clock, RegionalSettings& regional, FileSystem& files,
                  ActivityLog& log, OneShotTimer& requestDelay, OneShotTimer& wakeDelay) {
        return {window,  combo1,  list1, command1,     command2, command3, countDown,
                timer1,  socket,  clock, regional,     files,    desktop,  desktop,
                desktop, desktop, log,   requestDelay, wakeDelay};
    }
};

}  // namespace qlok::console
