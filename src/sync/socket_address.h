// Server addresses as the Winsock control takes them: the numeric forms that need no lookup,
// and the texts that cannot be a host name at all.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qlok {

// An IPv4 or IPv6 address.
struct IpAddress {
    bool v6 = false;
    std::array<unsigned char, 16> bytes{};  // network order; IPv4 fills the first 4
    std::string zone;  // the interface of a link-local IPv6 address, by name or number
};

// Dotted IPv4 ("127.0.0.1") or IPv6 text ("::1", "fe80::1%eth0"); none for anything else.
std::optional<IpAddress> ParseAddress(const std::string& text);

// Dot-separated labels of letters, digits, '-' and '_' (bytes past ASCII are left to the
// resolver's IDN conversion), with an optional final dot. Nothing else is ever looked up.
bool CouldBeHostName(const std::string& name);

// Fills storage with address and port as connect() takes them and returns its length. Each
// desktop names its sockaddr types and family numbers, and gives the port in network order and
// the IPv6 interface number it found for the address's zone.
template <typename SockaddrIn, typename SockaddrIn6, typename Storage>
int FillSocketAddress(const IpAddress& address, std::uint16_t networkPort, std::uint32_t scopeId,
                      int inet, int inet6, Storage& storage) {
    if (!address.v6) {
        SockaddrIn in{};
        in.sin_family = static_cast<decltype(in.sin_family)>(inet);
        in.sin_port = networkPort;
        std::memcpy(&in.sin_addr, address.bytes.data(), sizeof in.sin_addr);
        std::memcpy(&storage, &in, sizeof in);
        return static_cast<int>(sizeof in);
    }
    SockaddrIn6 in6{};
    in6.sin6_family = static_cast<decltype(in6.sin6_family)>(inet6);
    in6.sin6_port = networkPort;
    std::memcpy(&in6.sin6_addr, address.bytes.data(), sizeof in6.sin6_addr);
    in6.sin6_scope_id = scopeId;
    std::memcpy(&storage, &in6, sizeof in6);
    return static_cast<int>(sizeof in6);
}

// The IPv4 and IPv6 addresses of a getaddrinfo answer, in the resolver's order. Each desktop
// names its own addrinfo and sockaddr types and family numbers: this header includes no system
// one.
template <typename SockaddrIn, typename SockaddrIn6, typename AddrInfo>
std::vector<IpAddress> ResolvedAddresses(const AddrInfo* found, int inet, int inet6) {
    std::vector<IpAddress> addresses;
    for (const AddrInfo* entry = found; entry != nullptr; entry = entry->ai_next) {
        IpAddress address;
        if (entry->ai_family == inet) {
            const auto* in = reinterpret_cast<const SockaddrIn*>(entry->ai_addr);
            std::memcpy(address.bytes.data(), &in->sin_addr, sizeof in->sin_addr);
        } else if (entry->ai_family == inet6) {
            const auto* in6 = reinterpret_cast<const SockaddrIn6*>(entry->ai_addr);
            address.v6 = true;
            std::memcpy(address.bytes.data(), &in6->sin6_addr, sizeof in6->sin6_addr);
            if (in6->sin6_scope_id != 0) {
                address.zone = std::to_string(in6->sin6_scope_id);
            }
        } else {
            continue;
        }
        addresses.push_back(std::move(address));
    }
    return addresses;
}

}  // namespace qlok
