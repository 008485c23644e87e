// The error numbers the Winsock control raises, the same on every desktop: Winsock's own
// numbers, each with its Winsock name. Each desktop maps its failures onto them; the
// description beside a number stays the desktop's own text.
#pragma once

#include <string_view>

namespace qlok::winsock_error {

inline constexpr int kUnspecified = 10004;          // WSAEINTR: what no other number says
inline constexpr int kAccessDenied = 10013;         // WSAEACCES
inline constexpr int kInvalidArgument = 10022;      // WSAEINVAL
inline constexpr int kTooManySockets = 10024;       // WSAEMFILE
inline constexpr int kFamilyNotSupported = 10047;   // WSAEAFNOSUPPORT
inline constexpr int kAddressInUse = 10048;         // WSAEADDRINUSE
inline constexpr int kAddressNotAvailable = 10049;  // WSAEADDRNOTAVAIL
inline constexpr int kNetworkDown = 10050;          // WSAENETDOWN
inline constexpr int kNetworkUnreachable = 10051;   // WSAENETUNREACH
inline constexpr int kConnectionAborted = 10053;    // WSAECONNABORTED
inline constexpr int kConnectionReset = 10054;      // WSAECONNRESET
inline constexpr int kNoBufferSpace = 10055;        // WSAENOBUFS
inline constexpr int kNotConnected = 10057;         // WSAENOTCONN
inline constexpr int kTimedOut = 10060;             // WSAETIMEDOUT
inline constexpr int kConnectionRefused = 10061;    // WSAECONNREFUSED
inline constexpr int kHostDown = 10064;             // WSAEHOSTDOWN
inline constexpr int kHostUnreachable = 10065;      // WSAEHOSTUNREACH
inline constexpr int kHostNotFound = 11001;         // WSAHOST_NOT_FOUND
inline constexpr int kTryAgain = 11002;             // WSATRY_AGAIN
inline constexpr int kNoRecovery = 11003;           // WSANO_RECOVERY
inline constexpr int kNoData = 11004;               // WSANO_DATA

struct Named {
    int number;
    std::string_view name;
};

// Every number above with its name.
inline constexpr Named kTable[] = {
    {kUnspecified, "WSAEINTR"},
    {kAccessDenied, "WSAEACCES"},
    {kInvalidArgument, "WSAEINVAL"},
    {kTooManySockets, "WSAEMFILE"},
    {kFamilyNotSupported, "WSAEAFNOSUPPORT"},
    {kAddressInUse, "WSAEADDRINUSE"},
    {kAddressNotAvailable, "WSAEADDRNOTAVAIL"},
    {kNetworkDown, "WSAENETDOWN"},
    {kNetworkUnreachable, "WSAENETUNREACH"},
    {kConnectionAborted, "WSAECONNABORTED"},
    {kConnectionReset, "WSAECONNRESET"},
    {kNoBufferSpace, "WSAENOBUFS"},
    {kNotConnected, "WSAENOTCONN"},
    {kTimedOut, "WSAETIMEDOUT"},
    {kConnectionRefused, "WSAECONNREFUSED"},
    {kHostDown, "WSAEHOSTDOWN"},
    {kHostUnreachable, "WSAEHOSTUNREACH"},
    {kHostNotFound, "WSAHOST_NOT_FOUND"},
    {kTryAgain, "WSATRY_AGAIN"},
    {kNoRecovery, "WSANO_RECOVERY"},
    {kNoData, "WSANO_DATA"},
};

// The name of a number of the table; empty for any other.
constexpr std::string_view Name(int number) {
    for (const Named& entry : kTable) {
        if (entry.number == number) {
            return entry.name;
        }
    }
    return {};
}

}  // namespace qlok::winsock_error
