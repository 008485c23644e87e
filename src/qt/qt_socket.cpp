#include "qt/qt_socket.h"

#include <QMetaObject>
#include <algorithm>
#include <limits>
#include <utility>

#include "qt/qt_controls.h"

namespace qlok::qt {

namespace {

// The Winsock control's State values.
constexpr int kSckClosed = 0;
constexpr int kSckOpen = 1;
constexpr int kSckListening = 2;
constexpr int kSckResolvingHost = 4;
constexpr int kSckConnecting = 6;
constexpr int kSckConnected = 7;
constexpr int kSckClosing = 8;
constexpr int kSckError = 9;

// Further Winsock numbers for the rarer Qt errors.
constexpr int kAccessDenied = 10013;
constexpr int kAddressInUse = 10048;
constexpr int kConnectionAborted = 10053;
constexpr int kNoBuffers = 10055;
constexpr int kOperationNotSupported = 10045;
constexpr int kWouldBlock = 10035;
constexpr int kInvalidArgument = 10022;

}  // namespace

int WinsockErrorNumber(QAbstractSocket::SocketError error, const QString& description) {
    using E = QAbstractSocket::SocketError;
    namespace w = winsock_error;
    switch (error) {
        case E::ConnectionRefusedError:
        case E::ProxyConnectionRefusedError:
            return w::kConnectionRefused;
        case E::RemoteHostClosedError:
            return w::kConnectionReset;
        case E::HostNotFoundError:
        case E::ProxyNotFoundError:
            return w::kHostNotFound;
        case E::SocketTimeoutError:
        case E::ProxyConnectionTimeoutError:
            return w::kTimedOut;
        case E::NetworkError:
            // Qt folds both unreachable cases into one error; its text tells them apart.
            return description.contains(QLatin1String("Host unreachable"), Qt::CaseInsensitive)
                       ? w::kHostUnreachable
                       : w::kNetworkUnreachable;
        case E::SocketAddressNotAvailableError:
            return w::kAddressNotAvailable;
        case E::SocketAccessError:
            return kAccessDenied;
        case E::SocketResourceError:
            return kNoBuffers;
        case E::AddressInUseError:
            return kAddressInUse;
        case E::UnsupportedSocketOperationError:
            return kOperationNotSupported;
        case E::TemporaryError:
            return kWouldBlock;
        case E::ProxyConnectionClosedError:
            return kConnectionAborted;
        case E::OperationError:
            return kInvalidArgument;
        default:
            return w::kUnspecified;
    }
}

QtSocket::QtSocket(SocketEvents events) : events_(std::move(events)) {}

QtSocket::~QtSocket() {
    Drop();
}

int QtSocket::State() const {
    if (!socket_) {
        return kSckClosed;
    }
    if (failed_) {
        return kSckError;
    }
    if (serverClosed_) {
        return kSckClosing;  // until we close our side too
    }
    switch (socket_->state()) {
        case QAbstractSocket::UnconnectedState:
            return kSckClosed;
        case QAbstractSocket::HostLookupState:
            return kSckResolvingHost;
        case QAbstractSocket::ConnectingState:
            return kSckConnecting;
        case QAbstractSocket::ConnectedState:
            return kSckConnected;
        case QAbstractSocket::BoundState:
            return kSckOpen;
        case QAbstractSocket::ListeningState:
            return kSckListening;
        case QAbstractSocket::ClosingState:
            return kSckClosing;
    }
    return kSckClosed;
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
    socket_ = std::make_unique<QTcpSocket>();
    QTcpSocket* socket = socket_.get();
    QObject::connect(socket, &QTcpSocket::connected, socket, [this] {
        Post([this] {
            if (events_.connected) {
                events_.connected();
            }
        });
    });
    QObject::connect(socket, &QTcpSocket::readyRead, socket, [this] {
        Post([this] {
            // An earlier event's GetData may have taken these bytes already.
            const qint64 available = socket_->bytesAvailable();
            if (available > 0 && events_.dataArrival) {
                events_.dataArrival(static_cast<std::int32_t>(
                    std::min<qint64>(available, std::numeric_limits<std::int32_t>::max())));
            }
        });
    });
    QObject::connect(socket, &QTcpSocket::disconnected, socket, [this] { ServerClosed(); });
    QObject::connect(socket, &QTcpSocket::errorOccurred, socket,
                     [this, socket](QAbstractSocket::SocketError error) {
                         if (error == QAbstractSocket::RemoteHostClosedError) {
                             ServerClosed();
                             return;
                         }
                         if (serverClosed_ || failed_) {
                             return;  // one outcome per attempt
                         }
                         failed_ = true;
                         const QString text = socket->errorString();
                         const int number = WinsockErrorNumber(error, text);
                         Post([this, number, description = ToLocal(text)] {
                             if (events_.error) {
                                 events_.error(number, description);
                             }
                         });
                     });
    // Qt may report a refused loopback connection from inside this call; Post defers it.
    socket->connectToHost(host, static_cast<quint16>(port_));
    return std::nullopt;
}

void QtSocket::ServerClosed() {
    if (serverClosed_ || failed_) {
        return;
    }
    serverClosed_ = true;
    Post([this] {
        if (events_.closed) {
            events_.closed();
        }
    });
}

void QtSocket::Post(std::function<void()> event) {
    QMetaObject::invokeMethod(
        &context_,
        [this, attempt = generation_, event = std::move(event)] {
            if (attempt == generation_ && socket_) {
                event();
            }
        },
        Qt::QueuedConnection);
}

std::string QtSocket::GetData() {
    if (!socket_) {
        return {};
    }
    const QByteArray bytes = socket_->readAll();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void QtSocket::Close() {
    Drop();
}

void QtSocket::Drop() {
    ++generation_;
    serverClosed_ = false;
    failed_ = false;
    if (!socket_) {
        return;
    }
    socket_->disconnect();  // our own close raises nothing
    socket_->abort();
    // Safe at once: the socket's signals only queue events, so no caller sits inside them.
    socket_.reset();
}

}  // namespace qlok::qt
