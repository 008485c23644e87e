#include "sync/socket_address.h"

#include <cctype>
#include <charconv>
#include <cstdint>
#include <string_view>
#include <vector>

namespace qlok {

namespace {

// Four decimal numbers 0-255 joined by dots, without leading zeros or signs.
bool ParseIpv4(std::string_view text, unsigned char* out) {
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (text.empty() || text.front() != '.') {
                return false;
            }
            text.remove_prefix(1);
        }
        unsigned value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        const std::size_t digits = static_cast<std::size_t>(end - text.data());
        if (error != std::errc() || digits == 0 || digits > 3 || value > 255 ||
            (digits > 1 && text.front() == '0') ||
            !std::isdigit(static_cast<unsigned char>(text.front()))) {
            return false;
        }
        out[part] = static_cast<unsigned char>(value);
        text.remove_prefix(digits);
    }
    return text.empty();
}

// Groups of one to four hex digits with at most one "::", the last 32 bits optionally dotted.
bool ParseIpv6(std::string_view text, unsigned char* out) {
    std::vector<unsigned char> head, tail;
    std::vector<unsigned char>* side = &head;
    const std::size_t gap = text.find("::");
    if (gap != std::string_view::npos && text.find("::", gap + 1) != std::string_view::npos) {
        return false;
    }
    std::string_view rest = text;
    if (gap != std::string_view::npos) {
        rest = text.substr(0, gap);
    }
    for (int pass = 0; pass < 2; ++pass) {
        while (!rest.empty()) {
            const std::size_t colon = rest.find(':');
            const std::string_view group = rest.substr(0, colon);
            if (colon == std::string_view::npos && group.find('.') != std::string_view::npos) {
                unsigned char v4[4];
                if (!ParseIpv4(group, v4)) {
                    return false;
                }
                side->insert(side->end(), v4, v4 + 4);
                break;
            }
            unsigned value = 0;
            const auto [end, error] =
                std::from_chars(group.data(), group.data() + group.size(), value, 16);
            if (error != std::errc() || group.empty() || group.size() > 4 ||
                end != group.data() + group.size() || group.front() == '+' ||
                group.front() == '-') {
                return false;
            }
            side->push_back(static_cast<unsigned char>(value >> 8));
            side->push_back(static_cast<unsigned char>(value & 0xff));
            if (colon == std::string_view::npos) {
                break;
            }
            rest.remove_prefix(colon + 1);
            if (rest.empty()) {
                return false;  // a single trailing colon
            }
        }
        if (gap == std::string_view::npos) {
            break;
        }
        side = &tail;
        rest = text.substr(gap + 2);
    }
    const std::size_t filled = head.size() + tail.size();
    if (gap == std::string_view::npos ? filled != 16 : filled > 14) {
        return false;
    }
    std::copy(head.begin(), head.end(), out);
    std::copy(tail.begin(), tail.end(), out + 16 - tail.size());
    return true;
}

}  // namespace

std::optional<IpAddress> ParseAddress(const std::string& text) {
    IpAddress address;
    if (ParseIpv4(text, address.bytes.data())) {
        return address;
    }
    const std::size_t percent = text.find('%');
    if (percent != std::string::npos) {
        address.zone = text.substr(percent + 1);
        if (address.zone.empty()) {
            return std::nullopt;
        }
    }
    if (!ParseIpv6(std::string_view(text).substr(0, percent), address.bytes.data())) {
        return std::nullopt;
    }
    address.v6 = true;
    return address;
}

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

}  // namespace qlok
