// The servers file: any bytes give entries that hold no CR and are no comment.
#include <cstdlib>

#include "app/startup.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (const std::string& entry :
         qlok::ParseServerList({reinterpret_cast<const char*>(data), size})) {
        if (entry.find('\r') != std::string::npos || entry.starts_with(';')) {
            std::abort();
        }
    }
    return 0;
}
