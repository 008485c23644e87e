// The Winsock control on QTcpSocket.
#pragma once

#include <QAbstractSocket>
#include <QObject>
#include <QTcpSocket>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/socket.h"

namespace qlok::qt {

// Where the socket's events go; each is called from the event loop, never from a method.
struct SocketEvents {
    std::function<void()> connected;
    std::function<void(std::int32_t bytesTotal)> dataArrival;
    std::function<void()> closed;  // the server closed the connection
    std::function<void(int number, const std::string& description)> error;
};

// The Winsock control's number for a Qt socket error.
int WinsockErrorNumber(QAbstractSocket::SocketError error, const QString& description);

class QtSocket final : public Socket {
  public:
    // A closed socket that reports to events.
    explicit QtSocket(SocketEvents events);
    ~QtSocket() override;
    QtSocket(const QtSocket&) = delete;
    QtSocket& operator=(const QtSocket&) = delete;

    void SetRemoteHost(const std::string& host) override { host_ = host; }
    void SetRemotePort(int port) override { port_ = port; }
    int State() const override;
    std::optional<SocketError> Connect() override;
    std::string GetData() override;
    void Close() override;

  private:
    // Ends the current attempt: its socket goes and its queued events are dropped.
    void Drop();
    // Queues an event of the current attempt; it is dropped if the attempt ends before.
    void Post(std::function<void()> event);
    // Records the server's close and queues the one close event of the attempt.
    void ServerClosed();

    SocketEvents events_;
    std::string host_;
    int port_ = 0;
    QObject context_;  // owns the queued events; none outlives this object
    std::unique_ptr<QTcpSocket> socket_;
    std::uint64_t generation_ = 0;  // the attempt an event belongs to
    bool serverClosed_ = false;
    bool failed_ = false;
};

}  // namespace qlok::qt
