#include "linux/qt_socket.h"

#include <QSocketNotifier>
#include <cerrno>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace qlok::qt {

// Lookup threads post their answers to context_ only while the transport lives; the
// destructor closes the mailbox under its lock, and answers already posted die with context_.
struct QtTcpTransport::Mailbox {
    explicit Mailbox(QtTcpTransport* owner) : transport(owner) {}
    std::mutex lock;
    QtTcpTransport* transport;
};

QtTcpTransport::~QtTcpTransport() {
    Stop();
    if (mailbox_) {
        const std::lock_guard<std::mutex> closing(mailbox_->lock);
        mailbox_->transport = nullptr;
    }
}

void QtTcpTransport::LookUp(const std::string& host, SocketAttempt& attempt) {
    Stop();
    attempt_ = &attempt;
    // getaddrinfo blocks and cannot be cancelled: it runs on a thread of its own, and an
    // abandoned lookup runs to its end and is ignored.
    if (!mailbox_) {
        mailbox_ = std::make_shared<Mailbox>(this);
    }
    try {
        std::thread([mailbox = mailbox_, host, lookup = generation_] {
            posix::HostLookup found = posix::LookUpHost(host);
            const std::lock_guard<std::mutex> posting(mailbox->lock);
            if (QtTcpTransport* transport = mailbox->transport) {
                QMetaObject::invokeMethod(
                    &transport->context_,
                    [transport, lookup, found = std::move(found)]() mutable {
                        if (lookup != transport->generation_) {
                            return;
                        }
                        if (found.addresses.empty()) {
                            transport->attempt_->NotResolved(std::move(found.error));
                        } else {
                            transport->attempt_->Resolved(std::move(found.addresses));
                        }
                    },
                    Qt::QueuedConnection);
            }
        }).detach();
    } catch (const std::system_error& error) {
        attempt.NotResolved(error.what());
    }
}

void QtTcpTransport::ConnectTo(const IpAddress& address, int port, SocketAttempt& attempt) {
    Stop();
    attempt_ = &attempt;
    const posix::TcpStart start = posix::StartConnect(address, port);
    if (start.fd < 0) {
        ConnectFailed(start.error);
        return;
    }
    fd_ = start.fd;
    if (start.connected) {
        Connected();
        return;
    }
    writeNotifier_ = new QSocketNotifier(fd_, QSocketNotifier::Write, &context_);
    QObject::connect(writeNotifier_, &QSocketNotifier::activated, &context_,
                     [this] { ConnectFinished(); });
}

void QtTcpTransport::Stop() {
    ++generation_;
    attempt_ = nullptr;
    CloseDescriptor();
}

void QtTcpTransport::ConnectFinished() {
    const int error = posix::ConnectOutcome(fd_);
    if (error == 0) {
        Connected();
        return;
    }
    CloseDescriptor();
    ConnectFailed(error);
}

void QtTcpTransport::Connected() {
    if (writeNotifier_ != nullptr) {
        writeNotifier_->setEnabled(false);
        writeNotifier_->deleteLater();  // we may be inside its signal
        writeNotifier_ = nullptr;
    }
    readNotifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, &context_);
    QObject::connect(readNotifier_, &QSocketNotifier::activated, &context_, [this] { Readable(); });
    attempt_->Connected();
}

void QtTcpTransport::Readable() {
    const posix::TcpRead read = posix::ReadAvailable(fd_, kMaxReadPerPass);
    SocketAttempt* attempt = attempt_;  // an outcome, a time-out too, stops this transport
    attempt->Received(read.bytes);
    if (read.error != 0) {
        const SocketError failure = posix::SocketFailure(read.error);
        attempt->Failed(failure.number, failure.description);
    } else if (read.ended) {
        attempt->PeerClosed();
    }
}

void QtTcpTransport::ConnectFailed(int error) {
    const SocketError failure = posix::SocketFailure(error);
    attempt_->ConnectFailed(failure.number, failure.description);
}

void QtTcpTransport::CloseDescriptor() {
    // A notifier must stop watching before its descriptor number can be reused, and may be
    // the sender of the signal we are in, so it is disabled now and deleted later (or with
    // context_, whichever comes first).
    for (QSocketNotifier** notifier : {&readNotifier_, &writeNotifier_}) {
        if (*notifier != nullptr) {
            (*notifier)->setEnabled(false);
            (*notifier)->deleteLater();
            *notifier = nullptr;
        }
    }
    if (fd_ >= 0) {
        posix::CloseSocket(fd_);
        fd_ = -1;
    }
}

}  // namespace qlok::qt
