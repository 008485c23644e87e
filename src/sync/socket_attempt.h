// Winsock1's rules for one connection attempt at a time, fed with what a front end's I/O sees.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/one_shot_timer.h"
#include "platform/socket.h"
#include "platform/system_clock.h"
#include "platform/winapi_values.h"
#include "sync/socket_address.h"

namespace qlok {

// An attempt that has neither closed nor failed this long after Connect fails as timed out.
inline constexpr int kAttemptTimeoutMs = 30'000;

// One pass over a readable connection takes at most this many bytes, so that a flood cannot
// starve the window; the rest comes with the next pass.
inline constexpr std::size_t kMaxReadPerPass = std::size_t{1} << 20;

// Where the control's events go: the window's Winsock1_* handlers.
struct SocketEvents {
    std::function<void()> connect;
    std::function<void(std::int32_t bytesTotal)> dataArrival;
    std::function<void()> close;  // the server closed the connection
    std::function<void(std::int16_t number, const std::string& description)> error;
};

class SocketAttempt;

// The I/O under an attempt, done by each desktop: a name lookup, a connection to one address,
// reading and closing. Which addresses are tried, in what order, and which failure counts is
// the attempt's business.
class SocketTransport {
  public:
    virtual ~SocketTransport() = default;
    // Starts looking host up; reports Resolved or NotResolved to attempt, also from inside
    // this call. Every IPv4 and IPv6 address is asked for, in the resolver's order.
    virtual void LookUp(const std::string& host, SocketAttempt& attempt) = 0;
    // Starts connecting to one address; reports Connected or ConnectFailed, also from inside
    // this call, then what the connection reads.
    virtual void ConnectTo(const IpAddress& address, int port, SocketAttempt& attempt) = 0;
    // Ends the I/O opened last (connection, pending lookup); nothing more of it is reported.
    virtual void Stop() = 0;
    // The platform's words for a host without an address, when its resolver gave none.
    virtual std::string HostNotFoundText() const { return "Host not found"; }
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

    // The host's addresses are known: each is tried in turn until one connects.
    void Resolved(std::vector<IpAddress> addresses);
    // The host has no address; description says why (empty: the platform's usual words).
    void NotResolved(std::string description);
    // The connection is made.
    void Connected();
    // Connecting to the address tried last failed with this Winsock number; the next one is
    // tried, and the last failure reported when none is left.
    void ConnectFailed(int number, std::string description);
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
    // Connects to the next address left, or fails with the last address's failure.
    void ConnectNext();
    // Ends the attempt without an event: I/O, deadline and queued events go.
    void Drop();
    // Microseconds until the attempt times out; none or fewer once it should have.
    std::int64_t LeftUs() const;
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
    std::string received_;             // bytes not yet taken by GetData
    std::deque<IpAddress> addresses_;  // those not tried yet
    SocketError lastFailure_;          // of the address tried last
    std::deque<Event> pending_;
    bool deliveryDue_ = false;  // queue_ runs Deliver soon
};

}  // namespace qlok
