// Numbers as text under the user's regional decimal separator.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qlok {

// Reads a decimal number: blanks around it, an optional sign, digits with an optional
// fraction after the regional separator, an optional exponent. nullopt for anything else,
// and for values beyond the double range.
std::optional<double> ParseNumber(std::string_view text, std::string_view decimalSeparator);

// The runtime's text of a double: at most 15 significant digits, no trailing zeros, the
// regional separator, a minus sign for negatives, an exponent only for very large or small.
std::string NumberToText(double value, std::string_view decimalSeparator);

// Rounds to the nearest integer, halves to the even neighbour; nullopt outside the 16-bit
// signed range.
std::optional<std::int16_t> RoundToInt16(double value);

}  // namespace qlok
