// The servers file: any bytes give entries that hold no line end, are no comment and are not
// longer than shown.
#include <cstdlib>

#include "app/startup.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (const std::string& entry :
         qlok::ParseServerList({reinterpret_cast<const char*>(data), size}).entries) {
        if (entry.find_first_of("\r\n") != std::string::npos || entry.starts_with(';') ||
            entry.size() > 4 * qlok::kServerShownChars + 3) {
            std::abort();
        }
    }
    return 0;
}
