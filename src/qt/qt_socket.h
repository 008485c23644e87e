// The Winsock control on a non-blocking POSIX TCP socket driven by Qt's event loop.
#pragma once

#include <QHostAddress>
#include <QList>
#include <QObject>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/socket.h"

class QHostInfo;
class QSocketNotifier;

namespace qlok::qt {

// Where the socket's events go; each is called from the event loop, never from a method.
struct SocketEvents {
    std::function<void()> connected;
    std::function<void(std::int32_t bytesTotal)> dataArrival;
    std::function<void()> closed;  // the server closed the connection
    std::function<void(int number, const std::string& description)> error;
};

// The Winsock control's number for a POSIX errno value.
int WinsockErrorNumber(int error);

class QtSocket final : public Socket {
  public:
    // A closed socket that reports to events.
    explicit QtSocket(SocketEvents events);
    ~QtSocket() override;
    QtSocket(const QtSocket&) = delete;
    QtSocket& operator=(const QtSocket&) = delete;

    void SetRemoteHost(const std::string& host) override { host_ = host; }
    void SetRemotePort(int port) override { port_ = port; }
    int State() const override { return state_; }
    std::optional<SocketError> Connect() override;
    std::string GetData() override;
    void Close() override;

  private:
    // Ends the current attempt: its descriptor goes and its events, lookup's too, are dropped.
    void Drop();
    // Queues an event of the current attempt; it is dropped if the attempt ends before.
    void Post(std::function<void()> event);
    // Takes the lookup's addresses, or reports why there are none.
    void Resolved(const QHostInfo& info);
    // Starts connecting to the next address; reports the last failure when none is left.
    void ConnectNext();
    // Learns whether the pending connect succeeded once the descriptor turns writable.
    void ConnectFinished();
    // Starts reading and queues the connect event.
    void Connected();
    // Reads everything the kernel holds and queues what that means.
    void Readable();
    // Records the server's close and queues the one close event of the attempt.
    void ServerClosed();
    // Records the attempt's failure and queues its one error event.
    void Fail(int number, std::string description);
    // Closes the descriptor after its notifiers stop watching it; safe inside their signals.
    void CloseDescriptor();

    SocketEvents events_;
    std::string host_;
    int port_ = 0;
    QObject context_;  // owns the queued events and the notifiers; none outlives this object
    std::uint64_t generation_ = 0;   // the attempt an event belongs to
    int state_ = 0;                  // the Winsock control's State value
    QList<QHostAddress> addresses_;  // those not tried yet, in the lookup's order
    int lastError_ = 0;              // errno of the last address tried
    int fd_ = -1;
    QSocketNotifier* readNotifier_ = nullptr;
    QSocketNotifier* writeNotifier_ = nullptr;
    std::string received_;  // bytes not yet taken by GetData
};

}  // namespace qlok::qt
