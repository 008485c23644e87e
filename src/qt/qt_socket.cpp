#include "qt/qt_socket.h"

#include <arpa/inet.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QHostInfo>
#include <QMetaObject>
#include <QPointer>
#include <QSocketNotifier>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <utility>

#include "platform/winapi_values.h"
#include "posix/posix_services.h"
#include "qt/qt_controls.h"

namespace qlok::qt {

using namespace win;

namespace {

// One pass over a readable descriptor takes at most this much, so a flood cannot starve the
// window; the notifier fires again for the rest.
constexpr std::size_t kMaxReadPerPass = 1 << 20;

// An address and port as connect() takes them.
struct Endpoint {
    sockaddr_storage storage{};
    socklen_t length = 0;
};

Endpoint MakeEndpoint(const QHostAddress& address, int port) {
    Endpoint endpoint;
    bool isV4 = false;
    const quint32 v4 = address.toIPv4Address(&isV4);
    if (isV4) {
        sockaddr_in in{};
        in.sin_family = AF_INET;
        in.sin_port = htons(static_cast<std::uint16_t>(port));
        in.sin_addr.s_addr = htonl(v4);
        std::memcpy(&endpoint.storage, &in, sizeof in);
        endpoint.length = sizeof in;
        return endpoint;
    }
    sockaddr_in6 in6{};
    in6.sin6_family = AF_INET6;
    in6.sin6_port = htons(static_cast<std::uint16_t>(port));
    const Q_IPV6ADDR v6 = address.toIPv6Address();
    std::memcpy(&in6.sin6_addr, &v6, sizeof in6.sin6_addr);
    // A link-local address names its interface, by name or by number.
    const QByteArray scope = address.scopeId().toLocal8Bit();
    if (!scope.isEmpty()) {
        in6.sin6_scope_id = if_nametoindex(scope.constData());
        if (in6.sin6_scope_id == 0) {
            in6.sin6_scope_id = scope.toUInt();
        }
    }
    std::memcpy(&endpoint.storage, &in6, sizeof in6);
    endpoint.length = sizeof in6;
    return endpoint;
}

}  // namespace

int WinsockErrorNumber(int error) {
    switch (error) {
        case ECONNREFUSED:
            return winsock_error::kConnectionRefused;
        case ETIMEDOUT:
            return winsock_error::kTimedOut;
        case ECONNRESET:
        case EPIPE:
            return winsock_error::kConnectionReset;
        case ENETUNREACH:
            return winsock_error::kNetworkUnreachable;
        case EHOSTUNREACH:
            return winsock_error::kHostUnreachable;
        case EADDRNOTAVAIL:
            return winsock_error::kAddressNotAvailable;
        case EACCES:
        case EPERM:
            return 10013;
        case EINVAL:
            return 10022;
        case EMFILE:
        case ENFILE:
            return 10024;
        case EAFNOSUPPORT:
            return 10047;
        case EADDRINUSE:
            return 10048;
        case ENETDOWN:
            return 10050;
        case ECONNABORTED:
            return 10053;
        case ENOBUFS:
        case ENOMEM:
            return 10055;
        case ENOTCONN:
            return 10057;
        case EHOSTDOWN:
            return 10064;
        default:
            return winsock_error::kUnspecified;
    }
}

QtSocket::QtSocket(SocketEvents events) : events_(std::move(events)) {}

QtSocket::~QtSocket() {
    Drop();
}

std::optional<SocketError> QtSocket::Connect() {
    const QString host = FromLocal(host_).trimmed();
    if (host.isEmpty()) {
        return SocketError{winsock_error::kHostNotFound, "No server name given"};
    }
    if (port_ < 1 || port_ > std::numeric_limits<quint16>::max()) {
        return SocketError{winsock_error::kAddressNotAvailable,
                           "The port " + std::to_string(port_) + " is not valid"};
    }
    Drop();
    state_ = kSckResolvingHost;
    // The lookup runs on Qt's resolver threads and its answer comes back through the event
    // loop. An abandoned lookup runs to its end and is ignored: Qt leaks the callback of a
    // lookup that is aborted or whose context object dies first, so the context is the
    // lookup's own and lives until the answer, even past this socket.
    auto* lookup = new QObject;
    QHostInfo::lookupHost(host, lookup,
                          [this, lookup, owner = QPointer<QObject>(&context_),
                           attempt = generation_](const QHostInfo& info) {
                              lookup->deleteLater();
                              if (owner != nullptr && attempt == generation_) {
                                  Resolved(info);
                              }
                          });
    return std::nullopt;
}

void QtSocket::Resolved(const QHostInfo& info) {
    if (info.error() != QHostInfo::NoError || info.addresses().isEmpty()) {
        const QString text = info.errorString();
        Fail(winsock_error::kHostNotFound, text.isEmpty() ? "Host not found" : ToLocal(text));
        return;
    }
    addresses_ = info.addresses();
    lastError_ = 0;
    state_ = kSckConnecting;
    ConnectNext();
}

void QtSocket::ConnectNext() {
    while (!addresses_.isEmpty()) {
        const Endpoint endpoint = MakeEndpoint(addresses_.takeFirst(), port_);
        fd_ = ::socket(endpoint.storage.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd_ < 0) {
            lastError_ = errno;
            continue;
        }
        const int result =
            ::connect(fd_, reinterpret_cast<const sockaddr*>(&endpoint.storage), endpoint.length);
        if (result == 0) {
            Connected();
            return;
        }
        // An interrupted non-blocking connect goes on in the background like EINPROGRESS.
        if (errno == EINPROGRESS || errno == EINTR) {
            writeNotifier_ = new QSocketNotifier(fd_, QSocketNotifier::Write, &context_);
            QObject::connect(writeNotifier_, &QSocketNotifier::activated, &context_,
                             [this] { ConnectFinished(); });
            return;
        }
        lastError_ = errno;
        CloseDescriptor();
    }
    const int error = lastError_ != 0 ? lastError_ : EADDRNOTAVAIL;
    Fail(WinsockErrorNumber(error), posix::ErrorText(error));
}

void QtSocket::ConnectFinished() {
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &length) != 0) {
        error = errno;
    }
    if (error == 0) {
        Connected();
        return;
    }
    lastError_ = error;
    CloseDescriptor();
    ConnectNext();
}

void QtSocket::Connected() {
    if (writeNotifier_ != nullptr) {
        writeNotifier_->setEnabled(false);
        writeNotifier_->deleteLater();  // we may be inside its signal
        writeNotifier_ = nullptr;
    }
    addresses_.clear();
    state_ = kSckConnected;
    readNotifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, &context_);
    QObject::connect(readNotifier_, &QSocketNotifier::activated, &context_, [this] { Readable(); });
    Post([this] {
        if (events_.connected) {
            events_.connected();
        }
    });
}

void QtSocket::Readable() {
    char buffer[16384];
    std::size_t total = 0;
    bool ended = false;
    int error = 0;
    while (total < kMaxReadPerPass) {
        const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
        if (n > 0) {
            received_.append(buffer, static_cast<std::size_t>(n));
            total += static_cast<std::size_t>(n);
        } else if (n == 0) {
            ended = true;
            break;
        } else if (errno != EINTR) {
            if (errno != EAGAIN && errno != EWOULDBLOCK) {
                error = errno;
            }
            break;
        }
    }
    if (total > 0) {
        Post([this] {
            // An earlier event's GetData may have taken these bytes already.
            if (!received_.empty() && events_.dataArrival) {
                events_.dataArrival(static_cast<std::int32_t>(std::min<std::size_t>(
                    received_.size(), std::numeric_limits<std::int32_t>::max())));
            }
        });
    }
    if (error != 0) {
        Fail(WinsockErrorNumber(error), posix::ErrorText(error));
    } else if (ended) {
        ServerClosed();
    }
}

void QtSocket::ServerClosed() {
    if (state_ == kSckClosing || state_ == kSckError) {
        return;  // one outcome per attempt
    }
    state_ = kSckClosing;  // until we close our side too
    CloseDescriptor();     // nothing more can arrive; the bytes received stay for GetData
    Post([this] {
        if (events_.closed) {
            events_.closed();
        }
    });
}

void QtSocket::Fail(int number, std::string description) {
    if (state_ == kSckClosing || state_ == kSckError) {
        return;  // one outcome per attempt
    }
    state_ = kSckError;
    CloseDescriptor();
    Post([this, number, description = std::move(description)] {
        if (events_.error) {
            events_.error(number, description);
        }
    });
}

void QtSocket::Post(std::function<void()> event) {
    QMetaObject::invokeMethod(
        &context_,
        [this, attempt = generation_, event = std::move(event)] {
            if (attempt == generation_) {
                event();
            }
        },
        Qt::QueuedConnection);
}

std::string QtSocket::GetData() {
    return std::exchange(received_, {});
}

void QtSocket::Close() {
    Drop();
}

void QtSocket::Drop() {
    ++generation_;
    state_ = kSckClosed;
    addresses_.clear();
    CloseDescriptor();
    received_.clear();
}

void QtSocket::CloseDescriptor() {
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
        ::close(fd_);
        fd_ = -1;
    }
}

}  // namespace qlok::qt
