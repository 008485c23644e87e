// The main window: its controls, form-level state and event handlers.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>

#include "platform/platform.h"

namespace qlok {

// How the latest synchronisation ended.
enum class SyncOutcome {
    None,     // none started yet
    Running,  // started, no outcome yet
    InStep,   // compared; the clock was within two seconds
    Set,      // the clock was set
    NotSet,   // ended without a reading to act on: socket error, bad reply, unhealthy server
    Refused,  // the clock setting was refused
    Held,     // a reading that HoldCorrection kept from the clock
};

// A server's reading of the time, as a correction would use it.
struct ServerReading {
    std::string host;
    std::string utcText;          // 20YY-MM-DD HH:MM:SS, UTC
    std::int64_t utcSeconds = 0;  // the same, in seconds since 1970
    ClockReading arrival;         // the local clocks at the reply's first byte
};

// Form_MouseMove's button argument: a bit for each mouse button held.
constexpr int MouseButtons(bool left, bool right, bool middle) {
    return (left ? 1 : 0) | (right ? 2 : 0) | (middle ? 4 : 0);
}
// Form_MouseMove's shift argument: a bit for each key held.
constexpr int ShiftKeys(bool shift, bool control, bool alt) {
    return (shift ? 1 : 0) | (control ? 2 : 0) | (alt ? 4 : 0);
}

// Requests to one server are at least this far apart.
inline constexpr std::int64_t kRequestSpacingMicroseconds = 4'000'000;
// After a wake from sleep, repeat mode resyncs this much later, when the network is back.
inline constexpr int kWakeResyncDelayMs = 30'000;

class QLOKfrm {
  public:
    // commandLine is the whole argument text after the program's name, as one value.
    QLOKfrm(Platform& platform, std::string commandLine);
    // The module-level state goes with the window it refers to.
    ~QLOKfrm();
    QLOKfrm(const QLOKfrm&) = delete;
    QLOKfrm& operator=(const QLOKfrm&) = delete;

    // Controls.
    Window& Me;
    ComboBox& Combo1;
    ListBox& List1;
    Button& Command1;
    Button& Command2;
    Button& Command3;
    TextBox& CountDown;
    Timer& Timer1;
    Socket& Winsock1;

    // Form-level state.
    std::string ReceiveBuffer;
    std::string ArrivalLocalTime;
    DateValue ClockOffset = 0;
    std::string OffsetDirection;
    std::string RepeatMinutesSaved;
    std::int16_t SecondsToNextMinute = 0;

    // Window events.
    void Form_Load();
    void Form_Resize();
    void Form_DblClick();
    // x is the form's coordinate in pixels; for the tray icon it carries the mouse message.
    void Form_MouseMove(int button, int shift, double x, double y);
    // The window is closing: a tray icon it still has is removed.
    void Form_Unload();
    // The computer woke from sleep or hibernation.
    void Resumed();

    // Control events.
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void List1_Click();
    void Timer1_Timer();
    void Winsock1_Connect();
    void Winsock1_DataArrival(std::int32_t bytesTotal);
    void Winsock1_Close();
    void Winsock1_Error(std::int16_t number, const std::string& description);

    // Form procedures.
    bool FileExists(const std::string& folderspec) const;
    void Build_Nid();
    void Nid_Refresh();
    void ApplyServerTime(std::string utcText);
    std::string ToLocalTimeText(const std::string& utcText) const;
    static void DateToSystemTime(DateValue value, SystemTimeRecord& record);
    static DateValue SystemTimeToDate(const SystemTimeRecord& record);

    // Whether the tray icon stands in for the window.
    bool InTray() const;

    // The services of the desktop the window runs on.
    Platform& Services() const { return platform_; }
    // The regional formats in force now, as readings are compared through them.
    RegionalFormats Formats() const;
    // How the latest synchronisation ended; final once its error or close handler returned.
    SyncOutcome Outcome() const { return outcome_; }
    // Ends a synchronisation that waits for its server (outcome NotSet, no event); false when
    // none waits: none is running, or the clock is being set.
    bool Abandon();

    // Asked with each valid reading before it is acted on: true keeps the clock as it is, and
    // the synchronisation ends Held. Unset: every reading is acted on.
    std::function<bool(const ServerReading&)> HoldCorrection;
    // Told when a synchronisation has its final outcome (from its error or close handler).
    std::function<void()> SyncEnded;

  private:
    // Appends a line to the activity list and the activity log.
    void AddLine(const std::string& line);
    // Whether the latest comparison found the clocks within two seconds.
    bool InStep() const;
    // The close handler's work: compare the clocks and correct the local one.
    void CompareAndCorrect();
    // ToLocalTimeText of a UTC value.
    std::string LocalTimeText(DateValue utc) const;
    // ApplyServerTime of a UTC value: the clock set to it unless in step, and the history line.
    void Correct(DateValue utc);
    // Connects to host, unless the last request to it is too recent: then later, saying so.
    void Request(const std::string& host);
    void Connect(const std::string& host);
    // The resync that follows a wake from sleep in repeat mode.
    void WakeResync();
    // Repeat mode's resync: the saved minutes back in the box, the timer off during the call.
    void ResyncAndCountAgain();
    // Keeps an event that arrives while the clock is being set, for when that is over; false
    // when no setting is under way and the event should run now.
    bool DeferDuringCorrection(std::function<void()> event);

    Platform& platform_;
    std::string commandLine_;
    std::string rawReply_;              // the current attempt's reply, up to one byte too many
    std::uint64_t replyBytes_ = 0;      // how many bytes the server sent in all
    bool replyRejected_ = false;        // the current attempt's reply was too long or too slow
    long long firstByteSecond_ = 0;     // local time of the reply's first byte, in seconds
    ClockReading arrival_;              // the precise clocks at the reply's first byte
    bool historyNoticeListed_ = false;  // the list already says there is no history yet
    SyncOutcome outcome_ = SyncOutcome::None;
    // Setting the clock may wait for the user (a password prompt) while the front end keeps
    // the window alive; timer ticks and socket events that come meanwhile wait here, in order.
    bool correcting_ = false;
    std::deque<std::function<void()>> deferred_;
    std::map<std::string, std::int64_t> lastRequest_;  // host -> monotonic microseconds
    bool wakeResyncPending_ = false;
};

}  // namespace qlok
