// Winsock1 on Qt's event loop: the core's attempt rules over a lookup thread, QSocketNotifier
// and the POSIX TCP calls.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "linux/qt_one_shot_timer.h"
#include "posix/posix_tcp.h"
#include "sync/socket_attempt.h"

class QSocketNotifier;

namespace qlok::qt {

// Looks names up on a thread of their own and watches the descriptor of one connection.
class QtTcpTransport final : public SocketTransport {
  public:
    QtTcpTransport() = default;
    ~QtTcpTransport() override;
    QtTcpTransport(const QtTcpTransport&) = delete;
    QtTcpTransport& operator=(const QtTcpTransport&) = delete;

    void LookUp(const std::string& host, SocketAttempt& attempt) override;
    void ConnectTo(const IpAddress& address, int port, SocketAttempt& attempt) override;
    void Stop() override;

  private:
    struct Mailbox;
    // Learns whether the pending connect succeeded once the descriptor turns writable.
    void ConnectFinished();
    void Connected();
    void Readable();
    void ConnectFailed(int error);
    // Closes the descriptor after its notifiers stop watching it; safe inside their signals.
    void CloseDescriptor();

    SocketAttempt* attempt_ = nullptr;  // the attempt the open I/O reports to
    QObject context_;  // owns the notifiers and receives lookups; none outlives this object
    std::shared_ptr<Mailbox> mailbox_;  // how lookup threads reach context_ while it lives
    std::uint64_t generation_ = 0;      // the lookup an answer belongs to
    int fd_ = -1;
    QSocketNotifier* readNotifier_ = nullptr;
    QSocketNotifier* writeNotifier_ = nullptr;
};

// The control, put together; hand `control` to the window.
struct QtSocket {
    QtSocket(const SystemClock& clock, SocketEvents events, int timeoutMs = kAttemptTimeoutMs)
        : control(transport, queue, deadline, clock, std::move(events), timeoutMs) {}

    QtOneShotTimer queue;
    QtOneShotTimer deadline;
    QtTcpTransport transport;
    SocketAttempt control;
};

}  // namespace qlok::qt
