// An in-memory front end: every control and service records what the window does with it,
// and tests drive the window's events by hand.
#pragma once

#include <algorithm>
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
#include "desktop/module_state.h"
#include "platform/platform.h"
#include "platform/regular_file_system.h"
#include "platform/winapi_values.h"
#include "runtime/datetime.h"
#include "runtime/text_lines.h"
#include "sync/clock_step.h"
#include "sync/socket_attempt.h"
#include "sync/winsock_events.h"

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
    std::vector<std::string> items;
    static constexpr int kNeverScrolled = -1;
    int topIndex = kNeverScrolled;

    void Clear() override { items.clear(); }
    void AddItem(const std::string& line) override { items.push_back(line); }
    void SetItems(TextLines lines) override {
        items.clear();
        for (std::size_t i = 0; i < lines.size(); ++i) {
            items.emplace_back(lines[i]);
        }
    }
    int NewIndex() const override { return static_cast<int>(items.size()) - 1; }
    void SetTopIndex(int index) override { topIndex = index; }
};

struct FakeCombo final : ComboBox {
    std::vector<std::string> items;
    std::string text = "127.0.0.1";  // as if typed in; a load puts the servers there instead

    void Clear() override { items.clear(), text.clear(); }
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

// Runs its callback when the test says so.
struct FakeOneShotTimer final : OneShotTimer {
    int starts = 0;
    static constexpr int kNeverStarted = -1;
    int milliseconds = kNeverStarted;  // of the last Start
    std::function<void()> pending;
    void Start(int ms, std::function<void()> callback) override {
        ++starts, milliseconds = ms, pending = std::move(callback);
    }
    void Stop() override { pending = {}; }
    // Runs the pending call, if any.
    void Fire() {
        if (auto callback = std::exchange(pending, {})) {
            callback();
        }
    }
};

// The real attempt rules over I/O that the tests play by hand; counts the window's calls.
struct FakeSocket final : Socket, SocketTransport {
    FakeSocket(SocketEvents events, const SystemClock& clock)
        : attempt(*this, queue, deadline, clock, std::move(events)) {}
    int connects = 0, closes = 0;
    std::string host;  // what the window set before its last Connect
    int port = 0;
    FakeOneShotTimer queue, deadline;
    SocketAttempt attempt;

    void SetRemoteHost(const std::string& h) override { attempt.SetRemoteHost(host = h); }
    void SetRemotePort(int p) override { attempt.SetRemotePort(port = p); }
    int State() const override { return attempt.State(); }
    std::optional<SocketError> Connect() override { return ++connects, attempt.Connect(); }
    std::string GetData() override { return attempt.GetData(); }
    void Close() override { ++closes, attempt.Close(); }
    void LookUp(const std::string&, SocketAttempt&) override {}
    void ConnectTo(const IpAddress&, int, SocketAttempt&) override {}
    void Stop() override {}
    // Raises the queued events, as the event loop would.
    void Deliver() { queue.Fire(); }
};

struct FakeClock final : SystemClock {
    DateParts now{2026, 12, 5, 22, 54, 19};
    long utcOffset = 3600;               // local time is UTC + 1 h
    std::int64_t monotonic = 7'000'000;  // microseconds; tests move it as time passes
    bool refuse = false;
    std::string refusal = "Operation not permitted";  // LastError when refused
    std::vector<SystemTimeRecord> setCalls;  // where each setting put the clock, or would have
    std::vector<ClockReading> arrivals;      // the arrival each setting was handed
    std::function<void()> whileSetting;      // the front end's loop runs while the user is asked

    DateParts LocalNow() const override { return now; }
    long UtcOffsetSecondsNow() const override { return utcOffset; }
    ClockReading PreciseNow() const override {
        SystemTimeRecord local;
        QLOKfrm::DateToSystemTime(MakeDate(now).value_or(0), local);
        // A quarter of the way into the second of now.
        return {(UnixSeconds(local) - utcOffset) * kMicrosecondsPerSecond + 250'000, monotonic};
    }
    int SetSystemTime(const SystemTimeRecord& utc, const ClockReading& arrival) override {
        if (whileSetting) {
            whileSetting();
        }
        setCalls.push_back(UtcRecord(StepTarget(utc, arrival, monotonic)));
        arrivals.push_back(arrival);
        return refuse ? 0 : 1;
    }
    std::string LastError() const override { return refuse ? refusal : ""; }
};

struct FakeRegional final : RegionalSettings {
    RegionalFormats formats = Iso24();
    RegionalFormats Formats() const override { return formats; }

    static RegionalFormats American() {
        return {.shortDate = "MM/dd/yyyy", .longTime = "hh:mm:ss tt"};
    }
    // Easy to read in tests.
    static RegionalFormats Iso24() { return {.shortDate = "yyyy-MM-dd", .longTime = "HH:mm:ss"}; }
    // Comma as the decimal separator.
    static RegionalFormats German() {
        return {.shortDate = "dd.MM.yyyy", .longTime = "HH:mm:ss", .decimalSeparator = ","};
    }
};

// Files in memory, under the file rules of the desktops.
struct FakeFiles final : RegularFileSystem {
    mutable std::map<std::string, std::string> files;
    std::map<std::string, std::string> unreadable;  // path -> why it cannot be read
    bool readOnly = false;                          // the working directory may not be written
    bool diskFull = false;                          // appends write half their text, then fail
    mutable int openFiles = 0;                      // opened and not closed yet

    bool FileExists(const std::string& path) const override { return files.contains(path); }
    mutable std::size_t tailLimit = 0;  // the most bytes the last ReadTail was asked for
    ReadResult ReadTail(const std::string& path, std::size_t maxBytes) const override {
        tailLimit = maxBytes;
        return RegularFileSystem::ReadTail(path, maxBytes);
    }

  protected:
    OpenedFile Open(const std::string& path, OpenFor purpose) const override {
        const bool reading = purpose == OpenFor::kReading;
        if (reading ? unreadable.contains(path) : readOnly) {
            return {OpenFailure::kOther, reading ? unreadable.at(path) : "Permission denied"};
        }
        if (reading && !files.contains(path)) {
            return {OpenFailure::kMissing, "No such file"};
        }
        return {std::make_unique<File>(*this, files[path])};
    }

  private:
    struct File final : RegularFile {
        File(const FakeFiles& f, std::string& d) : files(f), data(d) { ++f.openFiles; }
        ~File() override { --files.openFiles; }
        std::optional<std::uint64_t> Size() override { return data.size(); }
        std::int64_t ReadAt(std::uint64_t offset, char* buffer, std::size_t size,
                            std::string&) override {
            const auto at = static_cast<std::size_t>(std::min<std::uint64_t>(offset, data.size()));
            return static_cast<std::int64_t>(data.copy(buffer, size, at));
        }
        std::int64_t Append(std::string_view text, std::string& error) override {
            data += files.diskFull ? text.substr(0, text.size() / 2) : text;
            error = files.diskFull ? "No space left on device" : "";
            return files.diskFull ? -1 : static_cast<std::int64_t>(text.size());
        }
        bool Lock(int) override { return true; }
        const FakeFiles& files;
        std::string& data;
    };
};

struct FakeShell final : Shell {
    std::vector<std::string> opened;  // files, and "date and time settings"
    bool fail = false;
    bool OpenTextFile(const std::string& path) override { return opened.push_back(path), !fail; }
    bool OpenDateTimeSettings() override { return OpenTextFile("date and time settings"); }
};

struct FakeMessageBoxes final : MessageBoxes {
    std::vector<std::string> shown;  // "title|text" of each box
    void Show(const std::string& text, const std::string& title, int) override {
        shown.push_back(title + "|" + text);
    }
};

// The operation (kNimAdd, kNimDelete) and the icon's data.
using TrayCall = std::pair<int, NotifyIconData>;

struct FakeTray final : TrayIcons {
    std::vector<TrayCall> calls;
    bool refuseAdd = false, iconShown = false;
    bool Notify(int operation, const NotifyIconData& data) override {
        calls.push_back({operation, data});
        const bool had = std::exchange(iconShown, operation == win::kNimAdd && !refuseAdd);
        return operation == win::kNimAdd ? iconShown : had;
    }
    std::size_t CharacterLength(std::string_view t) const override {
        return Utf8CharacterLength(t);
    }
};

// procedure, hWnd, uMsg, wParam, lParam.
using ProcedureCall =
    std::tuple<WindowProcedure, std::uintptr_t, std::uint32_t, std::uintptr_t, std::intptr_t>;

struct FakeWindowMenu final : WindowMenu {
    static constexpr WindowProcedure kOriginal = 0x7A5C;    // the window's own procedure
    static constexpr std::intptr_t kOriginalAnswer = 4242;  // what kOriginal returns
    MessageProcedure installed = nullptr;                   // the logic's procedure, once installed
    std::vector<ProcedureCall> passedOn;  // messages handed to a replaced procedure

    bool AppendItem(std::uint32_t, std::uint32_t, const std::string&) override { return true; }
    WindowProcedure InstallWindowProcedure(MessageProcedure procedure) override {
        return installed = procedure, kOriginal;
    }
    std::intptr_t CallWindowProcedure(WindowProcedure procedure, std::uintptr_t h, std::uint32_t m,
                                      std::uintptr_t w, std::intptr_t l) override {
        return passedOn.push_back({procedure, h, m, w, l}), kOriginalAnswer;
    }
    // The system delivers a message to the window's procedure.
    std::intptr_t Send(std::uintptr_t h, std::uint32_t m, std::uintptr_t w, std::intptr_t l) {
        return installed != nullptr ? installed(h, m, w, l)
                                    : CallWindowProcedure(kOriginal, h, m, w, l);
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
        ResetModuleState();
    }

    FakeWindow window;
    FakeCombo combo1;
    FakeList list1;
    FakeText command1{"Resync"}, command2{"Show Clock"}, command3{"Repeat"}, countDown{"240"};
    FakeTimer timer1;
    FakeClock clock;
    FakeSocket winsock1{WinsockEvents(form), clock};
    FakeRegional regional;
    FakeFiles files;
    FakeShell shell;
    FakeMessageBoxes messageBoxes;
    FakeTray tray;
    FakeWindowMenu windowMenu;
    FakeLog log;
    FakeOneShotTimer requestDelay, wakeDelay;
    Platform platform{window, combo1,     list1, command1,     command2, command3, countDown,
                      timer1, winsock1,   clock, regional,     files,    shell,    messageBoxes,
                      tray,   windowMenu, log,   requestDelay, wakeDelay};
    QLOKfrm form;

    // The activity list.
    const std::vector<std::string>& List() const { return list1.items; }
    // Runs the load handler.
    void Load() { form.Form_Load(); }
    // The server accepts, sends bytes (in one data event), closes.
    void Connected() { winsock1.attempt.Connected(), winsock1.Deliver(); }
    void Receive(const std::string& bytes) { winsock1.attempt.Received(bytes), winsock1.Deliver(); }
    void ServerCloses() { winsock1.attempt.PeerClosed(), winsock1.Deliver(); }
    // Resync (the server's last request long past), connection, the reply in one piece, close.
    void Exchange(const std::string& reply) {
        clock.monotonic += kRequestSpacingMicroseconds;
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
