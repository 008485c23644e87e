// Server addresses as the Winsock control takes them: the numeric forms that need no lookup,
// and the texts that cannot be a host name at all.
#pragma once

#include <array>
#include <optional>
#include <string>

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

}  // namespace qlok
