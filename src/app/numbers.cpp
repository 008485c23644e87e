#include "app/numbers.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <system_error>

namespace qlok {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::optional<double> ParseNumber(std::string_view text, std::string_view decimalSeparator) {
    std::size_t pos = 0;
    while (pos < text.size() && IsBlank(text[pos])) {
        ++pos;
    }
    std::string plain;  // the number with a point as the separator, for from_chars
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        if (text[pos] == '-') {
            plain += '-';
        }
        ++pos;
    }
    int digits = 0;
    while (pos < text.size() && IsDigit(text[pos])) {
        plain += text[pos++];
        ++digits;
    }
    if (!decimalSeparator.empty() &&
        text.substr(pos, decimalSeparator.size()) == decimalSeparator) {
        pos += decimalSeparator.size();
        plain += '.';
        while (pos < text.size() && IsDigit(text[pos])) {
            plain += text[pos++];
            ++digits;
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        std::size_t p = pos + 1;
        std::string exponent = "e";
        if (p < text.size() && (text[p] == '+' || text[p] == '-')) {
            exponent += text[p++];
        }
        const std::size_t first = p;
        while (p < text.size() && IsDigit(text[p])) {
            exponent += text[p++];
        }
        if (p == first) {
            return std::nullopt;
        }
        plain += exponent;
        pos = p;
    }
    while (pos < text.size() && IsBlank(text[pos])) {
        ++pos;
    }
    if (pos != text.size()) {
        return std::nullopt;
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (ec != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value == 0 ? 0.0 : value;
}

std::string NumberToText(double value, std::string_view decimalSeparator) {
    if (value == 0 || !std::isfinite(value)) {
        return std::isnan(value) ? "NaN" : value == 0 ? "0" : value > 0 ? "Inf" : "-Inf";
    }
    char buffer[64];
    const int n = std::snprintf(buffer, sizeof buffer, "%.15G", value);
    std::string text(buffer, static_cast<std::size_t>(n > 0 ? n : 0));
    std::string out;
    for (const char c : text) {
        if (c == '.') {
            out += decimalSeparator;
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::int16_t> RoundToInt16(double value) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    double rounded = std::round(value);  // halves away from zero
    if (std::fabs(value - std::trunc(value)) == 0.5 && std::fmod(rounded, 2.0) != 0) {
        rounded -= std::copysign(1.0, value);
    }
    if (rounded < -32768.0 || rounded > 32767.0) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(rounded);
}

}  // namespace qlok
