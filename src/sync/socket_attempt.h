// Winsock1's rules for one connection attempt at a time, fed with what a front end's I/O sees.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/one_shot_timer.h"
#include "platform/socket.h"
#include "platform/system_clock.h"
#include "platform/winapi_values.h"

namespace qlok {

// An attempt that has neither closed nor failed this long after Connect fails as timed out.
inline constexpr int kAttemptTimeoutMs = 30'000;

// Where the control's events go: the window's Winsock1_* handlers.
struct SocketEvents {
    std::function<void()> connect;
    std::function<void(std::int32_t bytesTotal)> dataArrival;
    std::function<void()> close;  // the server closed the connection
    std::function<void(std::int16_t number, const std::string& description)> error;
};

class SocketAttempt;

// The I/O under an attempt, done by a front end: name lookup, connection and reading.
class SocketTransport {
  public:
    virtual ~SocketTransport() = default;
    // Looks host up and connects to port, reporting to attempt, also from inside this call.
    virtual void Open(const std::string& host, int port, SocketAttempt& attempt) = 0;
    // Ends the I/O opened last (connection, pending lookup); nothing more of it is reported.
    virtual void Stop() = 0;
};

// The Winsock control over a transport: one Close or Error event per attempt, nothing from an
// abandoned attempt or from our own Close, and every event raised from the event loop.
class SocketAttempt final : public Socket {
  public:
    // A closed socket raising events from the event loop through queue; deadline times out,
    // never before timeoutMs have passed on the clock's monotonic reading.
    SocketAttempt(SocketTransport& transport, OneShotTimer& queue, OneShotTimer& deadline,
                  const SystemClock& clock, SocketEvents events, int timeoutMs = kAttemptTimeoutMs);
    ~SocketAttempt() override;
    SocketAttempt(const SocketAttempt&) = delete;
    SocketAttempt& operator=(const SocketAttempt&) = delete;

    void SetRemoteHost(const std::string& host) override { host_ = host; }
    void SetRemotePort(int port) override { port_ = port; }
    int State() const override { return state_; }
    std::optional<SocketError> Connect() override;
    std::string GetData() override;
    void Close() override;

    // What the transport saw, for the attempt it was opened for; ignored once that has ended.

    // The host's addresses are known and connecting starts.
    void Resolved();
    // The host has no address; description says why.
    void NotResolved(std::string description);
    // The connection is made.
    void Connected();
    // Bytes were read from the connection.
    void Received(std::string_view bytes);
    // The server closed its side.
    void PeerClosed();
    // The lookup, connection or reading failed with this Winsock number.
    void Failed(int number, std::string description);

  private:
    enum class Kind { kConnect, kData, kClose, kError };
    struct Event {
        explicit Event(Kind k, int n = 0, std::string text = {})
            : kind(k), number(n), description(std::move(text)) {}
        Kind kind;
        int number;
        std::string description;
    };

    bool Running() const;
    // Records the attempt's outcome and queues its one Close or Error event.
    void Finish(int state, Event event);
    void Queue(Event event);
    void Deliver();
    // Ends the attempt without an event: I/O, deadline and queued events go.
    void Drop();
    // The deadline timer fired: times out, or waits on when the timer came early.
    void DeadlinePassed();

    SocketTransport& transport_;
    OneShotTimer& queue_;
    OneShotTimer& deadline_;
    const SystemClock& clock_;
    SocketEvents events_;
    int timeoutMs_;
    std::int64_t startedUs_ = 0;  // monotonic microseconds at Connect
    std::string host_;
    int port_ = 0;
    int state_ = win::kSckClosed;
    std::string received_;  // bytes not yet taken by GetData
    std::deque<Event> pending_;
};

}  // namespace qlok
