#include "sync/socket_attempt.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace qlok {

namespace {

std::string Trimmed(const std::string& text) {
    constexpr const char* kBlanks = " \t\r\n\f\v";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace

SocketAttempt::SocketAttempt(SocketTransport& transport, OneShotTimer& queue,
                             OneShotTimer& deadline, const SystemClock& clock, SocketEvents events,
                             int timeoutMs)
    : transport_(transport),
      queue_(queue),
      deadline_(deadline),
      clock_(clock),
      events_(std::move(events)),
      timeoutMs_(timeoutMs) {}

SocketAttempt::~SocketAttempt() {
    Drop();
    queue_.Stop();
}

std::optional<SocketError> SocketAttempt::Connect() {
    const std::string host = Trimmed(host_);
    if (host.empty()) {
        return SocketError{winsock_error::kHostNotFound, "No server name given"};
    }
    if (port_ < 1 || port_ > std::numeric_limits<std::uint16_t>::max()) {
        return SocketError{winsock_error::kAddressNotAvailable,
                           "The port " + std::to_string(port_) + " is not valid"};
    }
    Drop();
    state_ = win::kSckResolvingHost;
    // A lookup, connect or server that hangs, or a server that trickles, ends here.
    startedUs_ = clock_.PreciseNow().monotonicMicroseconds;
    deadline_.Start(timeoutMs_, [this] { DeadlinePassed(); });
    if (std::optional<IpAddress> numeric = ParseAddress(host)) {
        Resolved({std::move(*numeric)});  // nothing to look up
    } else if (!CouldBeHostName(host)) {
        NotResolved({});  // no resolver is asked about a text that cannot be a name
    } else {
        transport_.LookUp(host, *this);
    }
    return std::nullopt;
}

std::string SocketAttempt::GetData() {
    return std::exchange(received_, {});
}

void SocketAttempt::Close() {
    Drop();
}

void SocketAttempt::Resolved(std::vector<IpAddress> addresses) {
    if (state_ != win::kSckResolvingHost) {
        return;
    }
    if (addresses.empty()) {
        NotResolved({});
        return;
    }
    state_ = win::kSckConnecting;
    addresses_.assign(std::make_move_iterator(addresses.begin()),
                      std::make_move_iterator(addresses.end()));
    lastFailure_ = {};
    ConnectNext();
}

void SocketAttempt::NotResolved(std::string description) {
    Failed(winsock_error::kHostNotFound,
           description.empty() ? transport_.HostNotFoundText() : std::move(description));
}

void SocketAttempt::ConnectFailed(int number, std::string description) {
    if (state_ == win::kSckConnecting) {
        lastFailure_ = {number, std::move(description)};
        ConnectNext();
    }
}

void SocketAttempt::ConnectNext() {
    if (addresses_.empty()) {
        Failed(lastFailure_.number, std::move(lastFailure_.description));
        return;
    }
    const IpAddress next = std::move(addresses_.front());
    addresses_.pop_front();
    transport_.ConnectTo(next, port_, *this);
}

void SocketAttempt::Connected() {
    if (Running() && state_ != win::kSckConnected) {
        state_ = win::kSckConnected;
        addresses_.clear();
        Queue(Event(Kind::kConnect));
    }
}

void SocketAttempt::Received(std::string_view bytes) {
    if (Running() && !bytes.empty()) {
        received_.append(bytes);
        Queue(Event(Kind::kData));
        // A flood may keep a message queue too busy for the deadline timer to fire.
        if (LeftUs() <= 0) {
            Failed(winsock_error::kTimedOut, "Connection timed out");
        }
    }
}

void SocketAttempt::PeerClosed() {
    // Closing until our side closes too; the bytes received stay for GetData.
    Finish(win::kSckClosing, Event(Kind::kClose));
}

void SocketAttempt::Failed(int number, std::string description) {
    Finish(win::kSckError, Event(Kind::kError, number, std::move(description)));
}

bool SocketAttempt::Running() const {
    return state_ >= win::kSckResolvingHost && state_ <= win::kSckConnected;
}

void SocketAttempt::Finish(int state, Event event) {
    if (!Running()) {
        return;  // one outcome per attempt
    }
    state_ = state;
    deadline_.Stop();
    transport_.Stop();
    addresses_.clear();
    Queue(std::move(event));
}

void SocketAttempt::Queue(Event event) {
    pending_.push_back(std::move(event));
    // Started once for all that comes before it runs: restarted for each read, it could be
    // put off for as long as a flood lasts.
    if (!deliveryDue_) {
        deliveryDue_ = true;
        queue_.Start(0, [this] {
            deliveryDue_ = false;
            Deliver();
        });
    }
}

void SocketAttempt::Deliver() {
    // A handler may close the socket, which drops the rest.
    while (!pending_.empty()) {
        const Event event = std::move(pending_.front());
        pending_.pop_front();
        switch (event.kind) {
            case Kind::kConnect:
                events_.connect();
                break;
            case Kind::kData:
                // An earlier event's GetData may have taken these bytes already.
                if (!received_.empty()) {
                    events_.dataArrival(static_cast<std::int32_t>(std::min<std::size_t>(
                        received_.size(), std::numeric_limits<std::int32_t>::max())));
                }
                break;
            case Kind::kClose:
                events_.close();
                break;
            case Kind::kError:
                events_.error(ErrorNumber16(event.number), event.description);
                break;
        }
    }
}

std::int64_t SocketAttempt::LeftUs() const {
    return std::int64_t{timeoutMs_} * 1000 -
           (clock_.PreciseNow().monotonicMicroseconds - startedUs_);
}

void SocketAttempt::DeadlinePassed() {
    // A coarse timer may fire a little early; the time-out never does.
    const std::int64_t leftUs = LeftUs();
    if (leftUs > 0) {
        deadline_.Start(static_cast<int>((leftUs + 999) / 1000), [this] { DeadlinePassed(); });
        return;
    }
    Failed(winsock_error::kTimedOut, "Connection timed out");
}

void SocketAttempt::Drop() {
    transport_.Stop();
    addresses_.clear();
    deadline_.Stop();
    pending_.clear();
    received_.clear();
    state_ = win::kSckClosed;
}

}  // namespace qlok
