// TCP client calls on non-blocking POSIX sockets, and what their errno values mean to the window.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/socket.h"
#include "sync/socket_address.h"

namespace qlok::posix {

// What a name lookup found: its addresses in the resolver's order, or why there are none (empty
// when the name is simply not known).
struct HostLookup {
    std::vector<IpAddress> addresses;
    std::string error;
};

// Asks the system's resolver for a host name's IPv4 and IPv6 addresses; blocks, so it belongs
// off the UI thread.
HostLookup LookUpHost(const std::string& name);

// How starting a connection went: a descriptor, connected or still connecting; or an errno.
struct TcpStart {
    int fd = -1;
    bool connected = false;
    int error = 0;
};

// Opens a non-blocking TCP socket and starts connecting it to address and port.
TcpStart StartConnect(const IpAddress& address, int port);

// Once a connecting descriptor turns writable: 0 if the connection is made, else the errno.
int ConnectOutcome(int fd);

// What one pass over a readable descriptor found.
struct TcpRead {
    std::string bytes;
    bool ended = false;  // the peer closed its side
    int error = 0;       // errno of a failed read
};

// Reads without blocking until nothing is left, the peer closed, or limit bytes were read.
TcpRead ReadAvailable(int fd, std::size_t limit);

// Closes a socket descriptor.
void CloseSocket(int fd);

// The Winsock control's number for an errno value, with the platform's words for it.
SocketError SocketFailure(int error);

}  // namespace qlok::posix
