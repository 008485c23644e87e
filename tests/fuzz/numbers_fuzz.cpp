// The number text: any text reads without a crash, and what the program writes under a separator
// that cannot be taken for part of a number reads back as the value rounded to 15 digits, when
// that is a double.
#include <fuzzer/FuzzedDataProvider.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "runtime/numbers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string separator = in.ConsumeRandomLengthString(4);
    const auto value = std::bit_cast<double>(in.ConsumeIntegral<std::uint64_t>());
    const auto read = qlok::ParseNumber(in.ConsumeRemainingBytesAsString(), separator);
    char digits[32];  // the value to 15 significant digits; beyond the range next to the limit
    std::snprintf(digits, sizeof digits, "%.14e", value);
    const double rounded = std::strtod(digits, nullptr);
    const bool sane = std::isfinite(rounded) && !separator.empty() &&
                      separator.find_first_of("0123456789eE") == std::string::npos;
    const std::string text = qlok::NumberToText(value, separator);
    const auto back = qlok::ParseNumber(text, separator);
    if ((read && !std::isfinite(*read)) ||
        (sane && (!back || *back != rounded || qlok::NumberToText(*back, separator) != text))) {
        std::fprintf(stderr, "%.17g is written \"%s\"\n", value, text.c_str());
        std::abort();
    }
    return 0;
}
