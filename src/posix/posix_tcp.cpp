#include "posix/posix_tcp.h"

#include <arpa/inet.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>

#include "posix/posix_error_text.h"

namespace qlok::posix {

namespace {

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
            return winsock_error::kAccessDenied;
        case EINVAL:
            return winsock_error::kInvalidArgument;
        case EMFILE:
        case ENFILE:
            return winsock_error::kTooManySockets;
        case EAFNOSUPPORT:
            return winsock_error::kFamilyNotSupported;
        case EADDRINUSE:
            return winsock_error::kAddressInUse;
        case ENETDOWN:
            return winsock_error::kNetworkDown;
        case ECONNABORTED:
            return winsock_error::kConnectionAborted;
        case ENOBUFS:
        case ENOMEM:
            return winsock_error::kNoBufferSpace;
        case ENOTCONN:
            return winsock_error::kNotConnected;
        case EHOSTDOWN:
            return winsock_error::kHostDown;
        default:
            return winsock_error::kUnspecified;
    }
}

// An address and port as connect() takes them.
struct Endpoint {
    sockaddr_storage storage{};
    socklen_t length = 0;
};

Endpoint MakeEndpoint(const IpAddress& address, int port) {
    // The interface by name or by number.
    std::uint32_t scope = 0;
    if (!address.zone.empty() && (scope = ::if_nametoindex(address.zone.c_str())) == 0) {
        std::from_chars(address.zone.data(), address.zone.data() + address.zone.size(), scope);
    }
    Endpoint endpoint;
    endpoint.length = static_cast<socklen_t>(FillSocketAddress<sockaddr_in, sockaddr_in6>(
        address, htons(static_cast<std::uint16_t>(port)), scope, AF_INET, AF_INET6,
        endpoint.storage));
    return endpoint;
}

}  // namespace

HostLookup LookUpHost(const std::string& name) {
    HostLookup lookup;
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_IDN;
    addrinfo* found = nullptr;
    const int rc = ::getaddrinfo(name.c_str(), nullptr, &hints, &found);
    if (rc != 0) {
        if (rc != EAI_NONAME && rc != EAI_NODATA && rc != EAI_FAMILY) {
            lookup.error = rc == EAI_SYSTEM ? ErrorText(errno) : ::gai_strerror(rc);
        }
        return lookup;
    }
    lookup.addresses = ResolvedAddresses<sockaddr_in, sockaddr_in6>(found, AF_INET, AF_INET6);
    ::freeaddrinfo(found);
    return lookup;
}

TcpStart StartConnect(const IpAddress& address, int port) {
    const Endpoint endpoint = MakeEndpoint(address, port);
    const int fd =
        ::socket(endpoint.storage.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return {-1, false, errno};
    }
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&endpoint.storage), endpoint.length) == 0) {
        return {fd, true, 0};
    }
    // An interrupted non-blocking connect goes on in the background like EINPROGRESS.
    if (errno == EINPROGRESS || errno == EINTR) {
        return {fd, false, 0};
    }
    const int error = errno;
    ::close(fd);
    return {-1, false, error};
}

int ConnectOutcome(int fd) {
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) {
        return errno;
    }
    return error;
}

TcpRead ReadAvailable(int fd, std::size_t limit) {
    TcpRead read;
    char buffer[16384];
    while (read.bytes.size() < limit) {
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n > 0) {
            read.bytes.append(buffer, static_cast<std::size_t>(n));
        } else if (n == 0) {
            read.ended = true;
            break;
        } else if (errno != EINTR) {
            if (errno != EAGAIN && errno != EWOULDBLOCK) {
                read.error = errno;
            }
            break;
        }
    }
    return read;
}

void CloseSocket(int fd) {
    ::close(fd);
}

SocketError SocketFailure(int error) {
    return {WinsockErrorNumber(error), ErrorText(error)};
}

}  // namespace qlok::posix
