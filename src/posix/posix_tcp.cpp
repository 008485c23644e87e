#include "posix/posix_tcp.h"

#include <arpa/inet.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
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

// An address and port as connect() takes them.
struct Endpoint {
    sockaddr_storage storage{};
    socklen_t length = 0;
};

Endpoint MakeEndpoint(const IpAddress& address, int port) {
    Endpoint endpoint;
    if (!address.v6) {
        sockaddr_in in{};
        in.sin_family = AF_INET;
        in.sin_port = htons(static_cast<std::uint16_t>(port));
        std::memcpy(&in.sin_addr, address.bytes.data(), sizeof in.sin_addr);
        std::memcpy(&endpoint.storage, &in, sizeof in);
        endpoint.length = sizeof in;
        return endpoint;
    }
    sockaddr_in6 in6{};
    in6.sin6_family = AF_INET6;
    in6.sin6_port = htons(static_cast<std::uint16_t>(port));
    std::memcpy(&in6.sin6_addr, address.bytes.data(), sizeof in6.sin6_addr);
    in6.sin6_scope_id = address.scopeId;
    std::memcpy(&endpoint.storage, &in6, sizeof in6);
    endpoint.length = sizeof in6;
    return endpoint;
}

// Dot-separated labels of letters, digits, '-' and '_' (bytes past ASCII are left to the
// resolver's IDN conversion), with an optional final dot.
bool CouldBeHostName(const std::string& name) {
    if (name.empty() || name.size() > 254) {
        return false;
    }
    std::size_t label = 0;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (c == '.') {
            if (label == 0) {
                return false;
            }
            label = 0;
        } else if (c >= 0x80 || std::isalnum(c) != 0 || c == '-' || c == '_') {
            if (++label > 63) {
                return false;
            }
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

HostLookup LookUpHost(const std::string& name) {
    HostLookup lookup;
    if (!CouldBeHostName(name)) {
        return lookup;
    }
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
    for (const addrinfo* entry = found; entry != nullptr; entry = entry->ai_next) {
        IpAddress address;
        if (entry->ai_family == AF_INET) {
            const auto* in = reinterpret_cast<const sockaddr_in*>(entry->ai_addr);
            std::memcpy(address.bytes.data(), &in->sin_addr, sizeof in->sin_addr);
        } else if (entry->ai_family == AF_INET6) {
            const auto* in6 = reinterpret_cast<const sockaddr_in6*>(entry->ai_addr);
            address.v6 = true;
            std::memcpy(address.bytes.data(), &in6->sin6_addr, sizeof in6->sin6_addr);
            address.scopeId = in6->sin6_scope_id;
        } else {
            continue;
        }
        lookup.addresses.push_back(address);
    }
    ::freeaddrinfo(found);
    return lookup;
}

std::optional<IpAddress> ParseAddress(const std::string& text) {
    IpAddress address;
    if (::inet_pton(AF_INET, text.c_str(), address.bytes.data()) == 1) {
        return address;
    }
    const std::size_t percent = text.find('%');
    if (::inet_pton(AF_INET6, text.substr(0, percent).c_str(), address.bytes.data()) != 1) {
        return std::nullopt;
    }
    address.v6 = true;
    if (percent != std::string::npos) {
        // The interface by name or by number.
        const std::string scope = text.substr(percent + 1);
        address.scopeId = ::if_nametoindex(scope.c_str());
        if (address.scopeId == 0) {
            std::from_chars(scope.data(), scope.data() + scope.size(), address.scopeId);
        }
    }
    return address;
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
