// A TCP client with the members and events of the Winsock control.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "platform/socket_errors.h"

namespace qlok {

// A socket failure: the Winsock control's number and the platform's description.
struct SocketError {
    int number = 0;
    std::string description;
};

// The number as the Error event carries it: 16 bits, signed, out-of-range values clamped.
inline std::int16_t ErrorNumber16(int number) {
    // Parenthesised: <windows.h> may define min and max as macros.
    return static_cast<std::int16_t>(std::clamp<int>(number,
                                                     (std::numeric_limits<std::int16_t>::min)(),
                                                     (std::numeric_limits<std::int16_t>::max)()));
}

// Events reach the window as Winsock1_Connect, Winsock1_DataArrival(count), Winsock1_Close
// (only when the server closes) and Winsock1_Error(number, description); never from inside
// a call of these methods.
class Socket {
  public:
    virtual ~Socket() = default;
    // Sets the host name or dotted address of the next connection.
    virtual void SetRemoteHost(const std::string& host) = 0;
    // Sets the TCP port of the next connection.
    virtual void SetRemotePort(int port) = 0;
    // 0 when closed; any other value while a connection is open or under way.
    virtual int State() const = 0;
    // Starts connecting and returns at once; a failure known at once is returned, not raised.
    virtual std::optional<SocketError> Connect() = 0;
    // All bytes received so far, one character per byte; removes them from the socket.
    virtual std::string GetData() = 0;
    // Closes the socket from this side; raises no event.
    virtual void Close() = 0;
};

}  // namespace qlok
