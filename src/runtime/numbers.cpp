#include "runtime/numbers.h"

#include <charconv>
#include <cmath>
#include <iterator>
#include <string>
#include <system_error>

namespace qlok {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

constexpr int kSignificantDigits = 15;

// Digits after a point lose their trailing zeros, and the point with them when none are left.
std::string WithoutTrailingZeros(std::string_view number) {
    if (number.find('.') != std::string_view::npos) {
        number.remove_suffix(number.size() - 1 - number.find_last_not_of('0'));
        if (number.back() == '.') {
            number.remove_suffix(1);
        }
    }
    return std::string(number);
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
    // Rounded to 15 significant digits first: the exponent of the rounded value picks the form.
    char scientific[32];
    const auto sci = std::to_chars(std::begin(scientific), std::end(scientific), value,
                                   std::chars_format::scientific, kSignificantDigits - 1);
    const std::string_view mantissaAndExponent(scientific, sci.ptr);
    const std::size_t e = mantissaAndExponent.find('e');
    int exponent = 0;
    const char* exponentText = scientific + e + 1;
    std::from_chars(exponentText + (*exponentText == '+' ? 1 : 0), sci.ptr, exponent);

    std::string text;
    if (exponent < -4 || exponent >= kSignificantDigits) {
        const std::string digits = std::to_string(exponent < 0 ? -exponent : exponent);
        text = WithoutTrailingZeros(mantissaAndExponent.substr(0, e)) +
               (exponent < 0 ? "E-" : "E+") + (digits.size() < 2 ? "0" : "") + digits;
    } else {
        char fixed[48];
        const auto fix = std::to_chars(std::begin(fixed), std::end(fixed), value,
                                       std::chars_format::fixed, kSignificantDigits - 1 - exponent);
        text = WithoutTrailingZeros(std::string_view(fixed, fix.ptr));
    }
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
