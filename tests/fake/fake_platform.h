// An in-memory front end: every control and service records what the window does with it,
// and tests drive the window's events by hand.
#pragma once

#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/qlokfrm.h"
#include "desktop/systray.h"
#include "platform/platform.h"

namespace qlok::fake {

struct FakeWindow final : Window {
    std::string caption = "QLOK";
    WindowState state = WindowState::Normal;
    bool visible = true;
    std::function<void()> onResize;  // the front end raises Form_Resize on a state change

    std::string Caption() const override { return caption; }
    void SetCaption(const std::string& c) override { caption = c; }
    WindowState State() const override { return state; }
    void SetState(WindowState s) override {
        if (std::exchange(state, s) != s && onResize) {
            onResize();
        }
    }
    void Hide() override { visible = false; }
    void Show() override { visible = true; }
    std::uintptr_t Handle() const override { return 0x1001; }
    std::uintptr_t IconHandle() const override { return 0x2002; }
};

struct FakeList final : ListBox {
    std::vector<std::string> items{" "};
    int topIndex = -1;  // -1 until the window scrolls

    void Clear() override { items.clear(); }
    void AddItem(const std::string& line) override { items.push_back(line); }
    void SetItems(std::vector<std::string> lines) override { items = std::move(lines); }
    int NewIndex() const override { return static_cast<int>(items.size()) - 1; }
    void SetTopIndex(int index) override { topIndex = index; }
};

struct FakeCombo final : ComboBox {
    std::vector<std::string> items;
    std::string text;

    void Clear() override {
        items.clear();
        text.clear();
    }
    void AddItem(const std::string& item) override { items.push_back(item); }
    int ListCount() const override { return static_cast<int>(items.size()); }
    void SetListIndex(int i) override {  // out of range: ignored
        text = i >= 0 && i < ListCount() ? items[static_cast<std::size_t>(i)] : text;
    }
    std::string Text() const override { return text; }
};

// A button or a text box: both are one line of text here.
struct FakeText final : Button, TextBox {
    explicit FakeText(std::string t) : text(std::move(t)) {}
    std::string text;
    std::string Caption() const override { return text; }
    void SetCaption(const std::string& t) override { text = t; }
    std::string Text() const override { return text; }
    void SetText(const std::string& t) override { text = t; }
};

struct FakeTimer final : Timer {
    int interval = 0;
    bool enabled = false;
    std::vector<bool> enableCalls;
    int Interval() const override { return interval; }
    void SetInterval(int ms) override { interval = ms; }
    bool Enabled() const override { return enabled; }
    void SetEnabled(bool e) override { enableCalls.push_back(enabled = e); }
};

struct FakeSocket final : Socket {
    std::string host;
    int port = 0, state = 0;
    std::string pending;                        // bytes received and not yet taken
    std::optional<SocketError> connectFailure;  // what Connect reports at once
    int connects = 0, closes = 0;

    void SetRemoteHost(const std::string& h) override { host = h; }
    void SetRemotePort(int p) override { port = p; }
    int State() const override { return state; }
    std::optional<SocketError> Connect() override {
        ++connects;
        state = connectFailure ? 0 : 6;  // 6: connecting
        return connectFailure;
    }
    std::string GetData() override { return std::exchange(pending, {}); }
    void Close() override {
        ++closes;
        state = 0;
        pending.clear();
    }
};

struct FakeClock final : SystemClock {
    DateParts now{2026, 12, 5, 22, 54, 19};
    long utcOffset = 3600;  // local time is UTC + 1 h
    bool refuse = false;
    std::vector<SYSTEMTIME> setCalls;

    DateParts LocalNow() const override { return now; }
    long UtcOffsetSecondsNow() const override { return utcOffset; }
    int SetSystemTime(const SYSTEMTIME& utc) override {
        setCalls.push_back(utc);
        return refuse ? 0 : 1;
    }
    std::string LastError() const override { return refuse ? "Operation not permitted" : ""; }
};

struct FakeRegional final : RegionalSettings {
    RegionalFormats formats = Iso24();
    RegionalFormats Formats() const override { return formats; }

    static RegionalFormats British() { return {.shortDate = "%d/%m/%Y", .longTime = "%H:%M:%S"}; }
    static RegionalFormats American() {
        return {.shortDate = "%m/%d/%Y", .longTime = "%I:%M:%S %p"};
    }
    // Easy to read in tests.
    static RegionalFormats Iso24() { return {.shortDate = "%Y-%m-%d", .longTime = "%H:%M:%S"}; }
    // Comma as the decimal separator.
    static RegionalFormats German() {
        return {.shortDate = "%d.%m.%Y", .longTime = "%H:%M:%S", .decimalSeparator = ","};
    }
};

struct FakeFiles final : FileSystem {
    std::map<std::string, std::string> files;
    std::set<std::string> unreadable;
    bool readOnly = false;  // the working directory may not be written
    bool diskFull = false;  // appends fail after the file was opened
    int openFiles = 0;      // opened for appending and not closed yet

    bool FileExists(const std::string& path) const override { return files.contains(path); }
    ReadResult ReadAll(const std::string& path) const override {
        const auto it = files.find(path);
        if (it == files.end() || unreadable.contains(path)) {
            return {
                false, {}, it == files.end() ? "No such file or directory" : "Permission denied"};
        }
        return {true, it->second, {}};
    }
    std::unique_ptr<AppendFile> OpenAppend(const std::string& path, std::string& error) override {
        if (readOnly) {
            error = "Permission denied";
            return nullptr;
        }
        return std::make_unique<Appender>(*this, files[path]);
    }

  private:
    struct Appender final : AppendFile {
        Appender(FakeFiles& f, std::string& d) : files(f), data(d) { ++f.openFiles; }
        ~Appender() override { --files.openFiles; }
        bool Append(std::string_view text) override {
            data += files.diskFull ? std::string_view() : text;
            return !files.diskFull;
        }
        std::string LastError() const override { return "No space left on device"; }
        FakeFiles& files;
        std::string& data;
    };
};

struct FakeShell final : Shell {
    std::vector<std::string> opened;  // files, and "date and time settings"
    bool fail = false;
    bool OpenTextFile(const std::string& path) override {
        opened.push_back(path);
        return !fail;
    }
    bool OpenDateTimeSettings() override { return OpenTextFile("date and time settings"); }
};

struct FakeMessageBoxes final : MessageBoxes {
    std::vector<std::string> shown;  // "title|text" of each box
    void Show(const std::string& text, const std::string& title, int) override {
        shown.push_back(title + "|" + text);
    }
};

struct TrayCall {
    int operation;
    NotifyIconData data;
};

struct FakeTray final : TrayIcons {
    std::vector<TrayCall> calls;
    bool refuseAdd = false, iconShown = false;
    bool Shell_NotifyIcon(int operation, const NotifyIconData& data) override {
        calls.push_back({operation, data});
        const bool had = std::exchange(iconShown, operation == kNimAdd && !refuseAdd);
        return operation == kNimAdd ? iconShown : had;
    }
};

// flags, id, text.
using MenuItem = std::tuple<std::uint32_t, std::uint32_t, std::string>;

// hWnd, uMsg, wParam, lParam.
using ProcedureCall = std::tuple<std::uintptr_t, std::uint32_t, std::uintptr_t, std::intptr_t>;

struct FakeWindowMenu final : WindowMenu {
    std::vector<MenuItem> items;
    WindowProcedure installed = nullptr;
    static inline std::vector<ProcedureCall> previousCalls;  // messages the original procedure got
    static std::intptr_t PreviousProcedure(std::uintptr_t h, std::uint32_t m, std::uintptr_t w,
                                           std::intptr_t l) {
        previousCalls.push_back({h, m, w, l});
        return 4242;
    }

    bool AppendMenu(std::uint32_t flags, std::uint32_t id, const std::string& text) override {
        items.push_back({flags, id, text});
        return true;
    }
    WindowProcedure SetWindowProcedure(WindowProcedure procedure) override {
        installed = procedure;
        return &PreviousProcedure;
    }
    std::intptr_t CallWindowProcedure(WindowProcedure procedure, std::uintptr_t h, std::uint32_t m,
                                      std::uintptr_t w, std::intptr_t l) override {
        return procedure(h, m, w, l);
    }
};

struct FakeLog final : ActivityLog {
    std::vector<std::string> lines;
    void Line(std::string_view line) override { lines.emplace_back(line); }
};

// The whole front end and a window on it.
struct FakeApp {
    explicit FakeApp(std::string commandLine = {}) : form(platform, std::move(commandLine)) {
        window.onResize = [this] { form.Form_Resize(); };
        FakeWindowMenu::previousCalls.clear();
        Systray::MainForm = nullptr;
        Systray::InTrayMode = Systray::kFalse;
        Systray::TrayIconData = {};
    }

    FakeWindow window;
    FakeCombo combo1;
    FakeList list1;
    FakeText command1{"Resync"}, command2{"Show Clock"}, command3{"Repeat"}, countDown{"240"};
    FakeTimer timer1;
    FakeSocket winsock1;
    FakeClock clock;
    FakeRegional regional;
    FakeFiles files;
    FakeShell shell;
    FakeMessageBoxes messageBoxes;
    FakeTray tray;
    FakeWindowMenu windowMenu;
    FakeLog log;
    Platform platform{window,    combo1,       list1,    command1,   command2, command3,
                      countDown, timer1,       winsock1, clock,      regional, files,
                      shell,     messageBoxes, tray,     windowMenu, log};
    QLOKfrm form;

    // The activity list.
    const std::vector<std::string>& List() const { return list1.items; }
    // Runs the load handler.
    void Load() { form.Form_Load(); }
    // The server accepts the connection.
    void Connected() {
        winsock1.state = 7;
        form.Winsock1_Connect();
    }
    // The server sends bytes; they arrive in one data event.
    void Receive(const std::string& bytes) {
        winsock1.pending += bytes;
        form.Winsock1_DataArrival(static_cast<std::int32_t>(winsock1.pending.size()));
    }
    // The server closes the connection.
    void ServerCloses() {
        winsock1.state = 8;  // the peer is closing
        form.Winsock1_Close();
    }
    // Resync, connection, the reply in one piece, close.
    void Exchange(const std::string& reply) {
        form.Command1_Click();
        Connected();
        Receive(reply);
        ServerCloses();
    }
    // The history file's contents ("" when missing).
    std::string History() const { return files.ReadAll("QLOK.log").data; }
};

// A 51-byte reply in the NIST layout for a UTC date and time.
inline std::string NistReply(int yy, int month, int day, int hour, int minute, int second) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer,
                  "\n61014 %02d-%02d-%02d %02d:%02d:%02d 00 0 0 752.6 UTC(NIST) * \n", yy, month,
                  day, hour, minute, second);
    return buffer;
}

}  // namespace qlok::fake
