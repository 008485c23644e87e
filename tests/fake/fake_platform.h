// An in-memory front end: every control and service records what the window does with it,
// and tests drive the window's events by hand.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/qlokfrm.h"
#include "desktop/menu.h"
#include "desktop/systray.h"
#include "platform/platform.h"
#include "platform/winapi_values.h"

namespace qlok::fake {

class FakeWindow final : public Window {
  public:
    std::string caption = "QLOK";
    WindowState state = WindowState::Normal;
    bool visible = true;
    std::function<void()> onResize;  // the front end raises Form_Resize on a state change

    std::string Caption() const override { return caption; }
    void SetCaption(const std::string& c) override { caption = c; }
    WindowState State() const override { return state; }
    void SetState(WindowState s) override {
        const bool changed = s != state;
        state = s;
        if (changed && onResize) {
            onResize();
        }
    }
    void Hide() override { visible = false; }
    void Show() override { visible = true; }
    std::uintptr_t Handle() const override { return 0x1001; }
    std::uintptr_t IconHandle() const override { return 0x2002; }
};

class FakeList final : public ListBox {
  public:
    std::vector<std::string> items{" "};
    int topIndex = 0;
    int scrolls = 0;

    void Clear() override { items.clear(); }
    void AddItem(const std::string& line) override { items.push_back(line); }
    void SetItems(TextLines lines) override {
        items.clear();
        for (std::size_t i = 0; i < lines.size(); ++i) {
            items.emplace_back(lines[i]);
        }
    }
    int NewIndex() const override { return static_cast<int>(items.size()) - 1; }
    void SetTopIndex(int index) override {
        topIndex = index;
        ++scrolls;
    }
};

class FakeCombo final : public ComboBox {
  public:
    std::vector<std::string> items;
    int listIndex = -1;
    std::string text;

    void Clear() override {
        items.clear();
        listIndex = -1;
        text.clear();
    }
    void AddItem(const std::string& item) override { items.push_back(item); }
    int ListCount() const override { return static_cast<int>(items.size()); }
    void SetListIndex(int index) override {
        if (index >= 0 && index < ListCount()) {
            listIndex = index;
            text = items[static_cast<std::size_t>(index)];
        }
    }
    std::string Text() const override { return text; }
};

class FakeTextBox final : public TextBox {
  public:
    std::string text = "240";
    std::string Text() const override { return text; }
    void SetText(const std::string& t) override { text = t; }
};

class FakeButton final : public Button {
  public:
    explicit FakeButton(std::string c) : caption(std::move(c)) {}
    std::string caption;
    std::string Caption() const override { return caption; }
    void SetCaption(const std::string& c) override { caption = c; }
};

class FakeTimer final : public Timer {
  public:
    int interval = 1000;
    bool enabled = false;
    std::vector<bool> enableCalls;
    int Interval() const override { return interval; }
    void SetInterval(int ms) override { interval = ms; }
    bool Enabled() const override { return enabled; }
    void SetEnabled(bool e) override {
        enabled = e;
        enableCalls.push_back(e);
    }
};

class FakeSocket final : public Socket {
  public:
    std::string host;
    int port = 0;
    int state = 0;
    std::string pending;                        // bytes received and not yet taken
    std::optional<SocketError> connectFailure;  // what Connect reports at once
    int connects = 0;
    int closes = 0;

    void SetRemoteHost(const std::string& h) override { host = h; }
    void SetRemotePort(int p) override { port = p; }
    int State() const override { return state; }
    std::optional<SocketError> Connect() override {
        ++connects;
        if (connectFailure) {
            return connectFailure;
        }
        state = win::kSckConnecting;
        return std::nullopt;
    }
    std::string GetData() override { return std::exchange(pending, {}); }
    void Close() override {
        ++closes;
        state = win::kSckClosed;
        pending.clear();
    }
};

class FakeClock final : public SystemClock {
  public:
    DateParts now{2026, 12, 5, 22, 54, 19};
    long utcOffset = 3600;  // local time is UTC + 1 h
    bool refuse = false;
    std::vector<SystemTimeRecord> setCalls;

    DateParts LocalNow() const override { return now; }
    long UtcOffsetSecondsNow() const override { return utcOffset; }
    int SetSystemTime(const SystemTimeRecord& utc) override {
        setCalls.push_back(utc);
        return refuse ? 0 : 1;
    }
    std::string LastError() const override { return refuse ? "Operation not permitted" : ""; }
};

class FakeRegional final : public RegionalSettings {
  public:
    RegionalFormats formats = Iso24();
    RegionalFormats Formats() const override { return formats; }

    // Day/month/year, 24-hour clock.
    static RegionalFormats British() {
        RegionalFormats f;
        f.shortDate = "dd/MM/yyyy";
        f.longTime = "HH:mm:ss";
        return f;
    }
    // Month/day/year, 12-hour clock.
    static RegionalFormats American() {
        RegionalFormats f;
        f.shortDate = "MM/dd/yyyy";
        f.longTime = "hh:mm:ss tt";
        return f;
    }
    // Year-month-day, 24-hour clock: easy to read in tests.
    static RegionalFormats Iso24() {
        RegionalFormats f;
        f.shortDate = "yyyy-MM-dd";
        f.longTime = "HH:mm:ss";
        return f;
    }
    // Comma as the decimal separator.
    static RegionalFormats German() {
        RegionalFormats f;
        f.shortDate = "dd.MM.yyyy";
        f.longTime = "HH:mm:ss";
        f.decimalSeparator = ",";
        return f;
    }
};

class FakeFiles final : public FileSystem {
  public:
    std::map<std::string, std::string> files;
    std::set<std::string> folders;
    std::set<std::string> unreadable;
    bool readOnly = false;  // the working directory may not be written
    bool diskFull = false;  // appends fail after the file was opened
    int opens = 0;
    int closes = 0;

    bool FileExists(const std::string& path) const override { return files.contains(path); }
    ReadResult ReadAll(const std::string& path) const override {
        if (unreadable.contains(path)) {
            return {false, {}, "Permission denied"};
        }
        if (folders.contains(path)) {
            return {false, {}, "Is a directory"};
        }
        const auto it = files.find(path);
        if (it == files.end()) {
            return {false, {}, "No such file or directory"};
        }
        return {true, it->second, {}};
    }
    ReadResult ReadTail(const std::string& path, std::size_t maxBytes) const override {
        ReadResult read = ReadAll(path);
        const std::size_t cut = read.data.size() > maxBytes ? read.data.size() - maxBytes : 0;
        read.data.erase(0, cut);
        read.skipped = cut;
        return read;
    }
    std::unique_ptr<AppendFile> OpenAppend(const std::string& path, std::string& error) override;
};

class FakeShell final : public Shell {
  public:
    std::vector<std::string> opened;
    int dateTimeSettings = 0;
    bool fail = false;
    bool OpenTextFile(const std::string& path) override {
        opened.push_back(path);
        return !fail;
    }
    bool OpenDateTimeSettings() override {
        ++dateTimeSettings;
        return !fail;
    }
};

struct ShownMessage {
    std::string text;
    std::string title;
    int style;
};

class FakeMessageBoxes final : public MessageBoxes {
  public:
    std::vector<ShownMessage> shown;
    void Show(const std::string& text, const std::string& title, int style) override {
        shown.push_back({text, title, style});
    }
};

struct TrayCall {
    int operation;
    NotifyIconData data;
};

class FakeTray final : public TrayIcons {
  public:
    std::vector<TrayCall> calls;
    bool refuseAdd = false;
    bool iconShown = false;
    std::size_t (*characterLength)(std::string_view) = &Systray::Utf8CharacterLength;
    bool Notify(int operation, const NotifyIconData& data) override {
        calls.push_back({operation, data});
        if (operation == win::kNimAdd) {
            iconShown = !refuseAdd;
            return !refuseAdd;
        }
        const bool had = iconShown;
        iconShown = false;
        return had;
    }
    std::size_t CharacterLength(std::string_view text) const override {
        return characterLength(text);
    }
};

struct MenuItem {
    std::uint32_t flags;
    std::uint32_t id;
    std::string text;
};

struct ProcedureCall {
    WindowProcedure procedure;
    std::uintptr_t hWnd;
    std::uint32_t uMsg;
    std::uintptr_t wParam;
    std::intptr_t lParam;
    friend bool operator==(const ProcedureCall&, const ProcedureCall&) = default;
};

class FakeWindowMenu final : public WindowMenu {
  public:
    static constexpr WindowProcedure kOriginal = 0x7A5C;  // the window's own procedure
    std::vector<MenuItem> items;
    bool installed = false;
    std::vector<ProcedureCall> passedOn;  // messages handed to a replaced procedure

    bool AppendItem(std::uint32_t flags, std::uint32_t id, const std::string& text) override {
        items.push_back({flags, id, text});
        return true;
    }
    WindowProcedure InstallWindowProcedure() override {
        installed = true;
        return kOriginal;
    }
    std::intptr_t CallWindowProcedure(WindowProcedure procedure, std::uintptr_t h, std::uint32_t m,
                                      std::uintptr_t w, std::intptr_t l) override {
        passedOn.push_back({procedure, h, m, w, l});
        return 4242;
    }
    // The system delivers a message to the window's procedure.
    std::intptr_t Send(std::uintptr_t h, std::uint32_t m, std::uintptr_t w, std::intptr_t l) {
        return installed ? Menu::MainWndProc(h, m, w, l)
                         : CallWindowProcedure(kOriginal, h, m, w, l);
    }
};

class FakeLog final : public ActivityLog {
  public:
    std::vector<std::string> lines;
    void Line(std::string_view line) override { lines.emplace_back(line); }
};

// The whole front end and a window on it.
class FakeApp {
  public:
    explicit FakeApp(std::string commandLine = {});
    ~FakeApp();
    FakeApp(const FakeApp&) = delete;
    FakeApp& operator=(const FakeApp&) = delete;

    FakeWindow window;
    FakeCombo combo1;
    FakeList list1;
    FakeButton command1{"Resync"};
    FakeButton command2{"Show Clock"};
    FakeButton command3{"Repeat"};
    FakeTextBox countDown;
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
    Platform platform;
    QLOKfrm form;

    // The activity list.
    const std::vector<std::string>& List() const { return list1.items; }
    // Runs the load handler.
    void Load() { form.Form_Load(); }
    // The server accepts the connection.
    void Connected();
    // The server sends bytes; they arrive in one data event.
    void Receive(const std::string& bytes);
    // The server closes the connection.
    void ServerCloses();
    // Resync, connection, the reply in one piece, close.
    void Exchange(const std::string& reply);
    // The history file's contents ("" when missing).
    std::string History() const;
};

// A 51-byte reply in the NIST layout for a UTC date and time.
std::string NistReply(int yy, int month, int day, int hour, int minute, int second);

}  // namespace qlok::fake
